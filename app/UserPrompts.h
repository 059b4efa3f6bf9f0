#pragma once

#include <optional>
#include <string>

namespace tallowmere {

// A modal question with two buttons, the first the default.
struct ConfirmationRequest {
    std::string message;
    std::string informativeText;
    std::string confirmButton;
    std::string cancelButton;

    bool operator==(const ConfirmationRequest&) const = default;
};

// A modal save panel.
struct SaveLocationRequest {
    std::string title;
    std::string prompt;
    std::string proposedFileName;
    bool canCreateDirectories = true;

    bool operator==(const SaveLocationRequest&) const = default;
};

// The modal questions the application model asks the user. The user interface implements
// it with its dialogs; tests answer with a fake. Called on the main thread only.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // True when the user chose the confirming button.
    virtual bool confirm(const ConfirmationRequest& request) = 0;

    // The path of the file the user chose; none when the panel was cancelled.
    virtual std::optional<std::string> chooseSaveLocation(const SaveLocationRequest& request) = 0;
};

}  // namespace tallowmere
