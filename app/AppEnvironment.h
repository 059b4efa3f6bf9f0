#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/BundleInformation.h"
#include "app/DesktopServices.h"
#include "app/UpdateController.h"
#include "app/UserPrompts.h"
#include "core/photos/PhotoLibrary.h"
#include "core/platform/Bookmarks.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Formatting.h"
#include "persistence/TallowmereDatabase.h"

namespace tallowmere {

// Everything the application model is given instead of reaching for it itself: the store,
// the file system, the clock, the user's locale, the user interface's dialogs and the
// desktop. Production uses production(); tests build their own with in-memory stores,
// fakes and temporary folders.
struct AppEnvironment {
    // Opens and migrates the store. Throws when it cannot; the model then runs on
    // temporary storage. Empty: the Application Support database of `fileSystem`.
    std::function<std::shared_ptr<TallowmereDatabase>()> openStore;
    std::shared_ptr<FileSystem> fileSystem;
    // Finds folders the user picked again (scan folders, the backup destination).
    std::shared_ptr<Bookmarks> bookmarks;
    // Holds a reference to `fileSystem`, which the environment keeps alive with it.
    std::shared_ptr<PhotoLibrary> photoLibrary;
    std::shared_ptr<const Clock> clock;
    std::shared_ptr<const Formatting> formatting;
    // Null: every dialog is answered as if the user cancelled it.
    std::shared_ptr<UserPrompts> prompts;
    std::shared_ptr<DesktopServices> desktop;
    // The process environment (web-page addresses).
    std::map<std::string, std::string> environment;
    BundleInformation bundle;
    // The operating system's own description of itself, for support diagnostics.
    std::string operatingSystemVersion;
    // Starts the self-update framework for a complete configuration. Empty when this build
    // has no such framework; update checks then open the download page.
    std::function<std::unique_ptr<SelfUpdater>(const UpdateConfiguration&)> makeSelfUpdater;

    // The Linux file system, bookmarks and picture-folder library, the system clock, the
    // user's locale, xdg-open, the process environment, the compiled-in bundle values and
    // the Application Support database. `prompts` stays null until the user interface
    // provides its dialogs.
    static AppEnvironment production();
};

// "<PRETTY_NAME of /etc/os-release> (<kernel release>)", or the kernel alone.
std::string linuxOperatingSystemVersion();

}  // namespace tallowmere
