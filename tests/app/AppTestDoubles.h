#pragma once

#include <QUrl>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/DesktopServices.h"
#include "app/UserPrompts.h"
#include "platform/linux/LinuxFileSystem.h"

// Stand-ins for what the application model asks of the desktop, shared by the model's
// tests and the user interface's tests (both link the application library and Qt).

namespace tallowmere::testing {

// Answers the model's dialogs as the test says and records what was asked.
class FakePrompts final : public UserPrompts {
public:
    bool confirm(const ConfirmationRequest& request) override {
        confirmations.push_back(request);
        return confirmAnswer;
    }
    std::optional<std::string> chooseSaveLocation(const SaveLocationRequest& request) override {
        saveRequests.push_back(request);
        return saveAnswer;
    }

    bool confirmAnswer = true;
    std::optional<std::string> saveAnswer;
    std::vector<ConfirmationRequest> confirmations;
    std::vector<SaveLocationRequest> saveRequests;
};

// Records the pages the model opens instead of starting a browser.
class FakeDesktop final : public DesktopServices {
public:
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return succeeds;
    }

    bool succeeds = true;
    std::vector<QUrl> opened;
};

// A Linux file system that takes its home and data folders from the given values rather
// than from this process's environment.
inline std::shared_ptr<FileSystem> linuxFileSystemWith(const std::string& home,
                                                       const std::string& dataHome) {
    LinuxFileSystem::Options options;
    options.environment = [home, dataHome](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == "HOME")
            return home;
        if (std::string_view(name) == "XDG_DATA_HOME")
            return dataHome;
        return std::nullopt;
    };
    return std::make_shared<LinuxFileSystem>(std::move(options));
}

}  // namespace tallowmere::testing
