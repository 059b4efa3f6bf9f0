#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/AppModel.h"
#include "platform/linux/LinuxBookmarks.h"
#include "tests/support/FakePhotoLibrary.h"
#include "tests/support/FixedClock.h"

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

// A model environment for tests: the given store (in memory unless set), a fixed clock,
// English formatting, this machine's bookmarks, a fake photo library, fake dialogs and desktop, an
// empty process environment and a file system whose home and Application Support folders are those
// given.
struct TestEnvironment {
    TestEnvironment();

    // An environment whose store is `database`.
    AppEnvironment make() const;

    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<FileSystem> fileSystem;
    std::shared_ptr<Bookmarks> bookmarks = std::make_shared<LinuxBookmarks>();
    std::shared_ptr<FakePhotoLibrary> photoLibrary = std::make_shared<FakePhotoLibrary>();
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    std::shared_ptr<FakePrompts> prompts = std::make_shared<FakePrompts>();
    std::shared_ptr<FakeDesktop> desktop = std::make_shared<FakeDesktop>();
    std::map<std::string, std::string> processEnvironment;
    BundleInformation bundle;
};

// A Linux file system that takes its home and data folders from the given values rather
// than from this process's environment.
std::shared_ptr<FileSystem> linuxFileSystemWith(const std::string& home,
                                                const std::string& dataHome);

// Makes every insert and update of `table` fail from now on.
void failWritesTo(TallowmereDatabase& database, const std::string& table);
// Makes every read of `table` fail from now on (the table is moved aside).
void failReadsOf(TallowmereDatabase& database, const std::string& table);
// Number of rows of `table`.
std::int64_t rowCount(TallowmereDatabase& database, const std::string& table);

// Holds a worker thread at one point until the test lets it go.
class Gate {
public:
    // On the worker: notes that it arrived and waits until open() (at once when open).
    void pass();
    bool reached() const;
    void open();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_opened;
    // Guarded by m_mutex.
    bool m_reached = false;
    bool m_open = false;
};

// Runs the event loop until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The whole file's bytes; none when it cannot be read.
std::optional<std::string> fileBytes(const std::string& path);

}  // namespace tallowmere::testing
