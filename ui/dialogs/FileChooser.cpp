#include "ui/dialogs/FileChooser.h"

#include <QFileDialog>

namespace tallowmere {

std::optional<std::string> DialogFileChooser::choose(const OpenPanelRequest& request,
                                                     QWidget* parent) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.prompt));
    if (request.canChooseDirectories && !request.canChooseFiles) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    // A read-only dialog offers no button for making folders.
    dialog.setOption(QFileDialog::ReadOnly, !request.canCreateDirectories);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    // The file system's own bytes, so that a name in another encoding is kept as it is.
    const QByteArray path = QFile::encodeName(chosen.first());
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

}  // namespace tallowmere
