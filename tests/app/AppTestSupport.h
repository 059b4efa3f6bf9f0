#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/AppModel.h"
#include "platform/linux/LinuxBookmarks.h"
#include "tests/app/AppTestDoubles.h"
#include "tests/support/FakePhotoLibrary.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Gate.h"

namespace tallowmere::testing {

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

// Makes every insert and update of `table` fail from now on.
void failWritesTo(TallowmereDatabase& database, const std::string& table);
// Makes every read of `table` fail from now on (the table is moved aside).
void failReadsOf(TallowmereDatabase& database, const std::string& table);
// Number of rows of `table`.
std::int64_t rowCount(TallowmereDatabase& database, const std::string& table);

// Runs the event loop until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The whole file's bytes; none when it cannot be read.
std::optional<std::string> fileBytes(const std::string& path);

}  // namespace tallowmere::testing
