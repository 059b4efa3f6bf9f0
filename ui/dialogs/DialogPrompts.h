#pragma once

#include <QPointer>
#include <QWidget>

#include "app/UserPrompts.h"
#include "ui/dialogs/FolderChooser.h"

namespace tallowmere {

// The model's questions and the screens' folder chooser, asked with the toolkit's own
// modal dialogs: a message box for a confirmation, file dialogs for a save location and
// a folder. Each dialog is modal over the window given by parent() (the main window, once
// the shell has one) or over the active window. Main thread only.
class DialogPrompts final : public UserPrompts, public FolderChooser {
public:
    DialogPrompts() = default;

    // The window the dialogs are shown over; null: the application's active window.
    void setParentWindow(QWidget* window) { m_parent = window; }

    bool confirm(const ConfirmationRequest& request) override;
    std::optional<std::string> chooseSaveLocation(const SaveLocationRequest& request) override;
    std::optional<std::string> chooseFolder(const FolderRequest& request) override;

private:
    QWidget* parentWindow() const;

    QPointer<QWidget> m_parent;
};

}  // namespace tallowmere
