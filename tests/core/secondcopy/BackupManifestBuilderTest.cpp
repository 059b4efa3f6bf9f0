#include <gtest/gtest.h>

#include "core/platform/PathText.h"
#include "core/secondcopy/BackupConflictResolver.h"
#include "core/secondcopy/BackupManifestBuilder.h"
#include "core/secondcopy/BackupPaths.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

namespace Builder = BackupManifestBuilder;
using State = ICloudFileState;

constexpr const char* kBackup = "/media/ann/Drive/Tallowmere Backup";
constexpr const char* kFolders =
    "Folders are represented by their files and are not copied as standalone backup items.";

const Uuid kRootID = *Uuid::fromString("3F2A9C1B-0000-4000-8000-00000000000A");

ICloudScanRoot root(ICloudScanRootKind kind, std::string path, std::string name,
                    Uuid id = Uuid::random()) {
    return ICloudScanRoot{.id = id,
                          .path = std::move(path),
                          .displayName = std::move(name),
                          .kind = kind,
                          .isDetected = kind != ICloudScanRootKind::userSelected,
                          .isSelected = true,
                          .bookmarkData = std::nullopt,
                          .createdAt = Date(1'700'000'000),
                          .lastScannedAt = std::nullopt};
}

ICloudFileScanResult result(std::string path, Uuid rootID = Uuid::random(),
                            State state = State::localCurrent, bool folder = false) {
    ICloudFileScanResult r;
    r.id = Uuid::random();
    r.scanRunID = Uuid::random();
    r.rootID = rootID;
    r.displayName = path_text::lastComponent(path);
    r.path = std::move(path);
    r.isDirectory = folder;
    r.fileSize = folder ? std::nullopt : std::optional<std::int64_t>(1234);
    r.modifiedAt = Date(1'600'000'000.5);
    r.state = state;
    r.scannedAt = Date(1'765'000'000);
    return r;
}

// The single item made for one result among the given roots.
BackupManifestItem itemFor(const ICloudFileScanResult& r, const std::vector<ICloudScanRoot>& roots,
                           const std::string& backupRoot = kBackup) {
    const auto items = Builder::makeItems(Uuid::random(), {r}, roots, backupRoot, Date(1));
    EXPECT_EQ(items.size(), 1u);
    return items.front();
}

TEST(BackupManifestBuilderTest, EligibilityFollowsStateAndFoldersAreNeverItems) {
    struct Case {
        State state;
        bool folder;
        BackupEligibility expected;
    };
    const std::vector<Case> cases = {
        {State::localCurrent, true, {false, kFolders}},
        {State::cloudOnly, true, {false, kFolders}},
        {State::localCurrent, false, {true, "Ready to copy."}},
        {State::downloaded, false, {true, "Ready to copy."}},
        {State::cloudOnly,
         false,
         {false, "Cloud-only files must be downloaded before they can be copied."}},
        {State::waitingToUpload, false, {false, "This item may still be syncing."}},
        {State::waitingToDownload, false, {false, "This item may still be syncing."}},
        {State::possibleSyncIssue, false, {false, "This item has a possible sync issue."}},
        {State::excluded, false, {false, "Tallowmere skipped this item for safety."}},
        {State::unknown, false, {false, "Tallowmere could not verify this item."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.state)) + (c.folder ? " folder" : " file"));
        const auto r = result("/data/x", Uuid::random(), c.state, c.folder);
        EXPECT_EQ(Builder::eligibility(r), c.expected);
        const auto item = itemFor(r, {});
        EXPECT_EQ(item.isEligible, c.expected.isEligible);
        EXPECT_EQ(item.status,
                  c.expected.isEligible ? BackupItemStatus::pending : BackupItemStatus::skipped);
        EXPECT_EQ(item.message, c.expected.message);
    }
}

// Sanitizing shows through an added folder's name, which is one path component.
TEST(BackupManifestBuilderTest, DestinationSubpathsAndSanitizedNames) {
    using K = ICloudScanRootKind;
    struct Case {
        K kind;
        std::string name;
        std::string expected;
    };
    const std::string added = "iCloud Drive/Added Folders/";
    const std::vector<Case> cases = {
        {K::iCloudDrive, "iCloud Drive", "iCloud Drive"},
        {K::desktop, "Desktop", "iCloud Drive/Desktop"},
        {K::documents, "Documents", "iCloud Drive/Documents"},
        {K::userSelected, "Work: 2024/Q1", added + "Work- 2024-Q1-3F2A9C1B"},
        {K::userSelected, "   ", added + "Untitled-3F2A9C1B"},
        {K::userSelected, "", added + "Untitled-3F2A9C1B"},
        {K::userSelected, "  Tax\n2024  ", added + "Tax-2024-3F2A9C1B"},
        // The control character becomes a hyphen before trimming, so it stays.
        {K::userSelected, "Tax\n", added + "Tax--3F2A9C1B"},
        {K::userSelected, "\xC2\xA0Photos\xE3\x80\x80", added + "Photos-3F2A9C1B"},
        {K::userSelected,
         "a\tb\x7F"
         "c\xC2\x85"
         "d",
         added + "a-b-c-d-3F2A9C1B"},
        {K::userSelected, "Caf\xC3\xA9 \xE2\x80\x94 notes",
         added + "Caf\xC3\xA9 \xE2\x80\x94 notes-3F2A9C1B"},
        // Bytes that are not UTF-8 pass through untouched; nothing fails.
        {K::userSelected, "caf\xE9:\xFF", added + "caf\xE9-\xFF-3F2A9C1B"},
        {K::userSelected, "..", added + "..-3F2A9C1B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Builder::destinationSubpath(root(c.kind, "/r", c.name, kRootID)), c.expected);
    }
}

TEST(BackupManifestBuilderTest, RootsAreFoundByIdThenByTheLongestTextualPrefix) {
    using K = ICloudScanRootKind;
    const auto documents = root(K::documents, "/Users/a/Documents", "Documents");
    const auto work = root(K::userSelected, "/Users/a/Documents/Work", "Work", kRootID);
    const auto doc = root(K::userSelected, "/Users/a/Doc", "Doc", kRootID);
    const auto desktop = root(K::desktop, "/Users/a/Same", "Desktop");
    const auto sameLength = root(K::documents, "/Users/a/Same", "Documents");
    const std::string base = std::string(kBackup) + "/iCloud Drive/";
    struct Case {
        const char* label;
        ICloudFileScanResult result;
        std::vector<ICloudScanRoot> roots;
        std::string relative;
        std::string destination;
    };
    const std::vector<Case> cases = {
        {"the id wins over a longer prefix",
         result("/Users/a/Documents/Work/Plan.txt", documents.id),
         {documents, work},
         "Work/Plan.txt",
         base + "Documents/Work/Plan.txt"},
        {"without an id match the longer prefix wins",
         result("/Users/a/Documents/Work/Plan.txt"),
         {documents, work},
         "Plan.txt",
         base + "Added Folders/Work-3F2A9C1B/Plan.txt"},
        {"equal lengths keep the given order",
         result("/Users/a/Same/x.txt"),
         {desktop, sameLength},
         "x.txt",
         base + "Desktop/x.txt"},
        {"a textual prefix that is not a folder of the path",
         result("/Users/a/Documents/Q1/x.txt"),
         {doc},
         "x.txt",
         base + "Added Folders/Doc-3F2A9C1B/x.txt"},
        {"no root at all",
         result("/elsewhere/Notes: draft.txt"),
         {documents},
         "Notes- draft.txt",
         base + "Added Folders/Unknown/Notes- draft.txt"},
        {"the root folder itself",
         result("/Users/a/Documents", documents.id, State::localCurrent, true),
         {documents},
         "Documents",
         base + "Documents/Documents"},
        {"components are sanitized one by one",
         result("/Users/a/Documents/Q1: plan/a\x01"
                "b.txt",
                documents.id),
         {documents},
         "Q1- plan/a-b.txt",
         base + "Documents/Q1- plan/a-b.txt"},
        {"the path is standardized before comparing",
         result("/Users/a/./Documents//Work/../x.txt", documents.id),
         {documents},
         "x.txt",
         base + "Documents/x.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto item = itemFor(c.result, c.roots);
        EXPECT_EQ(item.relativePath, c.relative);
        EXPECT_EQ(item.destinationPath, c.destination);
        // The item keeps the result's root id even when another root was used.
        EXPECT_EQ(item.rootID, c.result.rootID);
    }
}

TEST(BackupManifestBuilderTest, DestinationsNeverLeaveTheBackupFolder) {
    for (const std::string name : {"..", ".", "../..", "/", "../../../etc/passwd"}) {
        SCOPED_TRACE(name);
        auto orphan = result("/nowhere/file");
        orphan.displayName = name;
        const auto item = itemFor(orphan, {}, std::string(kBackup) + "/./");
        EXPECT_TRUE(path_text::isWithin(item.destinationPath, kBackup)) << item.destinationPath;
        EXPECT_EQ(item.destinationPath, path_text::standardized(item.destinationPath));
    }
}

TEST(BackupManifestBuilderTest, OneItemPerResultInOrderWithTheResultsFacts) {
    const auto documents = root(ICloudScanRootKind::documents, "/Users/a/Documents", "Documents");
    std::vector<ICloudFileScanResult> results = {
        result("/Users/a/Documents/b.txt", documents.id),
        result("/Users/a/Documents/a.txt", documents.id, State::cloudOnly),
        // Two results with one destination: both are kept.
        result("/Users/a/Documents/a:b", documents.id),
        result("/Users/a/Documents/a-b", documents.id, State::downloaded),
    };
    results[0].fileSize = std::nullopt;
    results[0].modifiedAt = std::nullopt;
    const Uuid jobID = Uuid::random();
    const auto items = Builder::makeItems(jobID, results, {documents}, kBackup, Date(42));
    ASSERT_EQ(items.size(), results.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(results[i].path);
        const auto& item = items[i];
        EXPECT_EQ(item.jobID, jobID);
        EXPECT_EQ(item.sourceResultID, results[i].id);
        EXPECT_EQ(item.rootID, results[i].rootID);
        EXPECT_EQ(item.sourcePath, results[i].path);
        EXPECT_EQ(item.fileSize, results[i].fileSize);
        EXPECT_EQ(item.modifiedAt, results[i].modifiedAt);
        EXPECT_EQ(item.sourceState, results[i].state);
        EXPECT_EQ(item.createdAt, Date(42));
        EXPECT_EQ(item.updatedAt, Date(42));
    }
    EXPECT_NE(items[0].id, items[1].id);
    EXPECT_EQ(items[1].status, BackupItemStatus::skipped);
    EXPECT_EQ(items[2].destinationPath, items[3].destinationPath);
}

TEST(BackupConflictResolverTest, SizesThenDatesWithinTwoSeconds) {
    using D = BackupExistingFileDecision;
    struct Case {
        const char* label;
        BackupFileSnapshot prepared;
        BackupFileSnapshot existing;
        D expected;
    };
    const Date t(1'700'000'000.0);
    const std::vector<Case> cases = {
        {"same size, same date", {100, t}, {100, t}, D::alreadyCopied},
        {"dates 2.0 s apart", {100, t}, {100, t.addingSeconds(2.0)}, D::alreadyCopied},
        {"dates 2.0 s apart the other way",
         {100, t.addingSeconds(2.0)},
         {100, t},
         D::alreadyCopied},
        {"2.0 s apart with fractions",
         {100, Date(1'700'000'000.1)},
         {100, Date(1'700'000'002.1)},
         D::alreadyCopied},
        {"dates 2.001 s apart", {100, t}, {100, t.addingSeconds(2.001)}, D::conflict},
        {"sizes differ", {100, t}, {101, t}, D::conflict},
        {"prepared size absent", {std::nullopt, t}, {100, t}, D::conflict},
        {"existing size absent (a folder)", {100, t}, {std::nullopt, t}, D::conflict},
        {"both sizes and the prepared date absent",
         {std::nullopt, std::nullopt},
         {std::nullopt, t},
         D::alreadyCopied},
        {"prepared date absent", {100, std::nullopt}, {100, t}, D::alreadyCopied},
        {"existing date absent", {100, t}, {100, std::nullopt}, D::conflict},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(BackupConflictResolver::decide(c.prepared, c.existing), c.expected);
    }
}

// A job prepared while the drive was at /media/a is copied (and checked) where it is now.
TEST(BackupPathsTest, PreparedPathsFollowTheDriveAndNeverLeaveTheBackupFolder) {
    const std::string preview = "/media/a/Backups/Tallowmere Backup/Manifest/backup-preview-1.json";
    EXPECT_EQ(BackupPaths::preparedBackupFolder(preview), "/media/a/Backups/Tallowmere Backup");
    EXPECT_EQ(BackupPaths::preparedBackupFolder("/media/a/x/backup-preview-1.json"), std::nullopt);
    EXPECT_EQ(BackupPaths::preparedBackupFolder(std::nullopt), std::nullopt);

    const std::optional<std::string> prepared = "/media/a/Backups/Tallowmere Backup";
    const std::string now = "/media/b/Backups/Tallowmere Backup";
    struct Case {
        std::string path;
        std::optional<std::string> preparedFolder;
        std::optional<std::string> expected;
    };
    for (const Case& c : std::vector<Case>{
             {prepared.value() + "/iCloud Drive/x.txt", prepared, now + "/iCloud Drive/x.txt"},
             {now + "/iCloud Drive/x.txt", prepared, now + "/iCloud Drive/x.txt"},
             {now + "/iCloud Drive/x.txt", std::nullopt, now + "/iCloud Drive/x.txt"},
             // Without a known prepared folder an old path is not guessed at.
             {prepared.value() + "/iCloud Drive/x.txt", std::nullopt, std::nullopt},
             {"/media/a/Backups/elsewhere.txt", prepared, std::nullopt},
             {prepared.value(), prepared, std::nullopt},
             {prepared.value() + "/iCloud Drive/../../x", prepared, std::nullopt},
             {"/media/b/Backups/Tallowmere Backupx/y", std::nullopt, std::nullopt},
         }) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(BackupPaths::currentDestination(c.path, c.preparedFolder, now), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere
