#pragma once

#include <optional>
#include <string>

namespace tallowmere {

// A modal open panel for one folder.
struct FolderRequest {
    std::string title;
    std::string prompt;
    bool canCreateDirectories = true;

    bool operator==(const FolderRequest&) const = default;
};

// Asks the user for a folder. The interface implements it with its dialog; tests answer
// with a fake. Main thread only.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;

    // The chosen folder's path; none when the user cancelled.
    virtual std::optional<std::string> chooseFolder(const FolderRequest& request) = 0;
};

}  // namespace tallowmere
