#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/icloud/ICloudScanRootDetector.h"
#include "core/icloud/ICloudScanRootPresenter.h"
#include "tests/support/FixedClock.h"
#include "tests/support/InMemoryFileSystem.h"

namespace tallowmere {
namespace {

using testing::FixedClock;
using testing::InMemoryFileSystem;
using Kind = ICloudScanRootKind;

const std::string kHome = "/home/tester";
const std::string kCloudDocs = kHome + "/Library/Mobile Documents/com~apple~CloudDocs";

void markUbiquitous(InMemoryFileSystem& fileSystem, const std::string& path,
                    std::optional<bool> ubiquitous) {
    fileSystem.updateValues(path,
                            [&](ResourceValues& values) { values.isUbiquitousItem = ubiquitous; });
}

struct Expected {
    std::string path;
    std::string displayName;
    Kind kind;
};

TEST(ICloudScanRootDetectorTest, FindsTheCloudFolderAndSyncedDesktopAndDocuments) {
    struct Case {
        const char* name;
        std::function<void(InMemoryFileSystem&)> setUp;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"nothing at all", [](InMemoryFileSystem&) {}, {}},
        {"ordinary local Desktop and Documents",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kHome + "/Desktop");
             fs.addFolder(kHome + "/Documents");
         },
         {}},
        {"iCloud Drive syncing Desktop and Documents",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kCloudDocs + "/Desktop");
             fs.addFolder(kCloudDocs + "/Documents");
             fs.addFolder(kHome + "/Desktop");
             fs.addFolder(kHome + "/Documents");
         },
         {{kCloudDocs, "iCloud Drive", Kind::iCloudDrive},
          {kCloudDocs + "/Desktop", "Desktop", Kind::desktop},
          {kCloudDocs + "/Documents", "Documents", Kind::documents}}},
        {"home Desktop and Documents that are ubiquitous",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kCloudDocs + "/Desktop");
             fs.addFolder(kCloudDocs + "/Documents");
             fs.addFolder(kHome + "/Desktop");
             fs.addFolder(kHome + "/Documents");
             markUbiquitous(fs, kHome + "/Desktop", true);
             markUbiquitous(fs, kHome + "/Documents", true);
         },
         {{kCloudDocs, "iCloud Drive", Kind::iCloudDrive},
          {kCloudDocs + "/Desktop", "Desktop", Kind::desktop},
          {kCloudDocs + "/Documents", "Documents", Kind::documents},
          {kHome + "/Desktop", "Desktop", Kind::desktop},
          {kHome + "/Documents", "Documents", Kind::documents}}},
        {"ubiquitous false, absent or unreadable is not enough",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kHome + "/Desktop");
             fs.addFolder(kHome + "/Documents");
             markUbiquitous(fs, kHome + "/Desktop", false);
             fs.failOperation(InMemoryFileSystem::Operation::resourceValues, kHome + "/Documents",
                              std::make_error_code(std::errc::io_error));
         },
         {}},
        {"only the home Documents is ubiquitous",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kHome + "/Desktop");
             fs.addFolder(kHome + "/Documents");
             markUbiquitous(fs, kHome + "/Documents", true);
         },
         {{kHome + "/Documents", "Documents", Kind::documents}}},
        {"existence is enough: a file where the folder should be",
         [](InMemoryFileSystem& fs) { fs.addFile(kCloudDocs + "/Desktop", "x"); },
         {{kCloudDocs, "iCloud Drive", Kind::iCloudDrive},
          {kCloudDocs + "/Desktop", "Desktop", Kind::desktop}}},
        {"the home folder cannot be determined",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kCloudDocs);
             fs.setHomeDirectory(std::nullopt);
         },
         {}},
        {"a home path with a trailing separator and a dot segment",
         [](InMemoryFileSystem& fs) {
             fs.addFolder(kCloudDocs);
             fs.setHomeDirectory("/home/./tester/");
         },
         {{kCloudDocs, "iCloud Drive", Kind::iCloudDrive}}},
    };
    const FixedClock clock(Date(1'800'000'000));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InMemoryFileSystem fileSystem;
        c.setUp(fileSystem);
        const auto roots = ICloudScanRootDetector::detectDefaultRoots(fileSystem, clock);
        ASSERT_EQ(roots.size(), c.expected.size());
        for (std::size_t i = 0; i < roots.size(); ++i) {
            const ICloudScanRoot& root = roots[i];
            EXPECT_EQ(root.path, c.expected[i].path);
            EXPECT_EQ(root.displayName, c.expected[i].displayName);
            EXPECT_EQ(root.kind, c.expected[i].kind);
            EXPECT_TRUE(root.isDetected);
            EXPECT_TRUE(root.isSelected);
            EXPECT_FALSE(root.bookmarkData);
            EXPECT_EQ(root.createdAt, Date(1'800'000'000));
            EXPECT_FALSE(root.lastScannedAt);
            EXPECT_NE(root.id, Uuid());
            if (i > 0) {
                EXPECT_NE(root.id, roots[i - 1].id);
            }
        }
        EXPECT_TRUE(fileSystem.changes().empty());
    }
}

ICloudScanRoot root(const std::string& path, Kind kind, const std::string& storedName = "Stored") {
    ICloudScanRoot result;
    result.id = Uuid::random();
    result.path = path;
    result.kind = kind;
    result.displayName = storedName;
    return result;
}

TEST(ICloudScanRootPresenterTest, DisplayNameAndDetailLabel) {
    struct Case {
        ICloudScanRoot root;
        std::string home;
        std::string displayName;
        std::string detail;
    };
    const std::string home = "/Users/ada";
    const std::string cloud = home + "/Library/Mobile Documents/com~apple~CloudDocs";
    const std::vector<Case> cases = {
        {root(cloud, Kind::iCloudDrive), home, "iCloud Drive", "Synced by iCloud"},
        {root("/elsewhere", Kind::iCloudDrive), home, "iCloud Drive", "Synced by iCloud"},
        {root(cloud + "/Desktop", Kind::desktop), home, "iCloud Desktop", "Synced by iCloud"},
        {root(cloud + "/Documents", Kind::documents), home, "iCloud Documents", "Synced by iCloud"},
        {root(home + "/Desktop", Kind::desktop), home, "Local Desktop", "Local folder"},
        {root(home + "/Documents", Kind::documents), home, "Local Documents", "Local folder"},
        // Spelled differently on either side, still the home folder's own.
        {root(home + "/x/../Desktop/", Kind::desktop), home + "/./", "Local Desktop",
         "Local folder"},
        {root("/Volumes/Other/Desktop", Kind::desktop), home, "Desktop", "Desktop"},
        {root("/Volumes/Other/Documents", Kind::documents), home, "Documents", "Documents"},
        // Someone else's cloud folder still counts as synced: the text is looked for anywhere.
        {root("/Users/bob/Library/Mobile Documents/com~apple~CloudDocs/Desktop", Kind::desktop),
         home, "iCloud Desktop", "Synced by iCloud"},
        // Added folders show their stored name, and the label follows its first letters.
        {root("/data/Trips", Kind::userSelected, "Trips"), home, "Trips", "Added folder"},
        {root("/data/iCloud stuff", Kind::userSelected, "iCloud stuff"), home, "iCloud stuff",
         "Synced by iCloud"},
        {root("/data/Local copies", Kind::userSelected, "Local copies"), home, "Local copies",
         "Local folder"},
        {root("/data/icloud", Kind::userSelected, "icloud"), home, "icloud", "Added folder"},
        {root(cloud + "/Trips", Kind::userSelected, "Trips"), home, "Trips", "Added folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root.path + " " + std::string(rawValue(c.root.kind)));
        EXPECT_EQ(ICloudScanRootPresenter::displayName(c.root, c.home), c.displayName);
        EXPECT_EQ(ICloudScanRootPresenter::detailLabel(c.root, c.home), c.detail);
    }
}

TEST(ICloudScanRootPresenterTest, DeduplicationKeepsTheFirstRootOfEachStandardizedPath) {
    const std::vector<ICloudScanRoot> roots = {
        root("/data/Trips", Kind::userSelected, "first"),
        root("/data/Work", Kind::userSelected, "work"),
        root("/data/Trips/", Kind::userSelected, "trailing separator"),
        root("/data/./Trips", Kind::desktop, "dot segment"),
        root("/data/x/../Work", Kind::userSelected, "dot-dot segment"),
        root("/data/Trips2", Kind::userSelected, "other folder"),
    };
    std::vector<std::string> kept;
    for (const auto& r : ICloudScanRootPresenter::deduplicated(roots))
        kept.push_back(r.displayName);
    EXPECT_EQ(kept, (std::vector<std::string>{"first", "work", "other folder"}));
    // Kept roots are unchanged, stored path included.
    EXPECT_EQ(ICloudScanRootPresenter::deduplicated(roots).front(), roots.front());
    EXPECT_TRUE(ICloudScanRootPresenter::deduplicated({}).empty());
}

}  // namespace
}  // namespace tallowmere
