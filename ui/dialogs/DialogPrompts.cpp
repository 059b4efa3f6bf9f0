#include "ui/dialogs/DialogPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "ui/components/Text.h"

namespace tallowmere {
namespace {

std::optional<std::string> chosenPath(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    // The path's own bytes, so that a folder whose name is not UTF-8 is still found.
    const QByteArray bytes = QFile::encodeName(files.first());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace

QWidget* DialogPrompts::parentWindow() const {
    if (m_parent && m_parent->isVisible())
        return m_parent;
    return QApplication::activeWindow();
}

bool DialogPrompts::confirm(const ConfirmationRequest& request) {
    QMessageBox box(parentWindow());
    box.setObjectName(QStringLiteral("confirmationBox"));
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(QStringLiteral("Tallowmere"));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(request.message));
    box.setInformativeText(toQString(request.informativeText));
    QPushButton* confirmButton =
        box.addButton(toQString(request.confirmButton), QMessageBox::AcceptRole);
    box.addButton(toQString(request.cancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(confirmButton);
    box.exec();
    return box.clickedButton() == confirmButton;
}

std::optional<std::string> DialogPrompts::chooseSaveLocation(const SaveLocationRequest& request) {
    QFileDialog dialog(parentWindow(), toQString(request.title));
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Accept, toQString(request.prompt));
    dialog.setOption(QFileDialog::ReadOnly, !request.canCreateDirectories);
    dialog.setDirectory(documentsFolder());
    dialog.selectFile(toQString(request.proposedFileName));
    return chosenPath(dialog);
}

std::optional<std::string> DialogPrompts::chooseFolder(const FolderRequest& request) {
    QFileDialog dialog(parentWindow(), toQString(request.title));
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::ReadOnly, !request.canCreateDirectories);
    dialog.setLabelText(QFileDialog::Accept, toQString(request.prompt));
    dialog.setDirectory(QDir::homePath());
    return chosenPath(dialog);
}

}  // namespace tallowmere
