#pragma once

#include <optional>
#include <string>

class QWidget;

namespace tallowmere {

// A modal open panel: what it is titled, what its confirming button says and what may be
// chosen in it.
struct OpenPanelRequest {
    std::string title;
    std::string prompt;
    bool canChooseDirectories = true;
    bool canChooseFiles = false;
    bool canCreateDirectories = false;

    bool operator==(const OpenPanelRequest&) const = default;
};

// The open panels the screens show. Production uses the desktop's file dialog; tests
// answer with a fake. Main thread only.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The chosen item's path; none when the panel was cancelled.
    virtual std::optional<std::string> choose(const OpenPanelRequest& request, QWidget* parent) = 0;
};

// Qt's file dialog, modal to the parent's window. One item at a time.
class DialogFileChooser final : public FileChooser {
public:
    std::optional<std::string> choose(const OpenPanelRequest& request, QWidget* parent) override;
};

}  // namespace tallowmere
