#include "ui/dialogs/DialogPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

// Runs `answer` on the modal dialog once it is up.
void whenModal(std::function<void(QWidget*)> answer) {
    // The first look comes on the first turn of the dialog's own event loop, later ones
    // every 20 ms.
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            poll->setInterval(20);
            return;
        }
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start(0);
}

QString acceptText(QFileDialog* dialog) {
    const auto* box = dialog->findChild<QDialogButtonBox*>();
    const QList<QAbstractButton*> buttons = box->buttons();
    for (QAbstractButton* button : buttons) {
        if (box->buttonRole(button) == QDialogButtonBox::AcceptRole)
            return button->text();
    }
    return {};
}

TEST(DialogPromptsTest, ConfirmationShowsTheTextsAndReportsTheButtonChosen) {
    DialogPrompts prompts;
    const ConfirmationRequest request{.message = "Export privacy-safe support diagnostics?",
                                      .informativeText = "What will be written.",
                                      .confirmButton = "Export",
                                      .cancelButton = "Cancel"};
    for (const char* choice : {"Export", "Cancel"}) {
        SCOPED_TRACE(choice);
        QString shownText, shownInformative, defaultButton;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownInformative = box->informativeText();
            defaultButton = box->defaultButton()->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QLatin1String(choice))
                    button->click();
            }
        });
        const bool confirmed = prompts.confirm(request);
        EXPECT_EQ(confirmed, std::string_view(choice) == "Export");
        EXPECT_EQ(shownText, "Export privacy-safe support diagnostics?");
        EXPECT_EQ(shownInformative, "What will be written.");
        EXPECT_EQ(defaultButton, "Export");
    }
}

TEST(DialogPromptsTest, SavePanelProposesTheNameAndReturnsTheChosenPath) {
    const testing::TemporaryDirectory folder;
    DialogPrompts prompts;
    QString title, accept, proposed;
    bool canCreateFolders = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        accept = acceptText(dialog);
        proposed = dialog->findChild<QLineEdit*>()->text();
        canCreateFolders = !dialog->testOption(QFileDialog::ReadOnly);
        dialog->setDirectory(QString::fromStdString(folder.path().string()));
        dialog->selectFile(QStringLiteral("chosen.json"));
        static_cast<QDialog*>(dialog)->accept();  // as the accept button does
    });
    const std::optional<std::string> path =
        prompts.chooseSaveLocation({.title = "Export Tallowmere Report",
                                    .prompt = "Export",
                                    .proposedFileName = "backupJob-report-20261211-090000.json"});

    EXPECT_EQ(title, "Export Tallowmere Report");
    EXPECT_EQ(accept, "Export");
    EXPECT_EQ(proposed, "backupJob-report-20261211-090000.json");
    EXPECT_TRUE(canCreateFolders);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, (folder.path() / "chosen.json").string());
}

}  // namespace
}  // namespace tallowmere
