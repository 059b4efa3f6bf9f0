#pragma once

#include <QPointer>
#include <QWidget>

#include "app/UserPrompts.h"

namespace tallowmere {

// The model's questions, asked with the toolkit's own modal dialogs: a message box for a
// confirmation, a file dialog for a save location. Each dialog is modal over the window given by
// parent() (the main window, once the shell has one) or over the active window. Main thread only.
class DialogPrompts final : public UserPrompts {
public:
    DialogPrompts() = default;

    // The window the dialogs are shown over; null: the application's active window.
    void setParentWindow(QWidget* window) { m_parent = window; }

    bool confirm(const ConfirmationRequest& request) override;
    std::optional<std::string> chooseSaveLocation(const SaveLocationRequest& request) override;

private:
    QWidget* parentWindow() const;

    QPointer<QWidget> m_parent;
};

}  // namespace tallowmere
