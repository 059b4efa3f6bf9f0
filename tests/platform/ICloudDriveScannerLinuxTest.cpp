#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanner.h"
#include "core/icloud/ICloudScanRootDetector.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/platform/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

using testing::TemporaryDirectory;
namespace fs = std::filesystem;

constexpr const char* kCurrent = "This file appears local and current.";
constexpr const char* kHiddenPackageLink = "This item is hidden, a package, or a symbolic link.";
constexpr const char* kTooDeep =
    "This item was skipped because the scan depth safety limit was reached.";
constexpr const char* kUnreadable = "Tallowmere could not read metadata for this item.";

void writeFile(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
    ASSERT_TRUE(out.good()) << path;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string printable(const std::string& bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f) {
            out << c;
        } else {
            out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
        }
    }
    return out.str();
}

ICloudScanRoot makeRoot(const fs::path& path) {
    ICloudScanRoot root;
    root.id = Uuid::random();
    root.path = path.string();
    root.displayName = path.filename().string();
    root.isSelected = true;
    return root;
}

const ICloudFileScanResult* rowAt(const SafetyScanResult& result, const fs::path& path) {
    for (const auto& row : result.iCloudFileResults) {
        if (row.path == path.string())
            return &row;
    }
    return nullptr;
}

std::vector<std::string> pathsOf(const SafetyScanResult& result) {
    std::vector<std::string> paths;
    for (const auto& row : result.iCloudFileResults) paths.push_back(row.path);
    return paths;
}

class ICloudDriveScannerLinuxTest : public ::testing::Test {
protected:
    SafetyScanResult scan(const fs::path& root) {
        ICloudDriveScanner scanner(m_fileSystem);
        return scanner.runScan(ScanTrigger::manual, {makeRoot(root)});
    }
    fs::path root() const { return m_temp.path(); }

    TemporaryDirectory m_temp;
    LinuxFileSystem m_fileSystem;
};

TEST_F(ICloudDriveScannerLinuxTest, PlainFilesAreLocalAndHiddenOrPackageFoldersAreNotWalked) {
    const fs::path r = root() / "Cloud";
    fs::create_directories(r / "Projects" / "Empty");
    fs::create_directories(r / ".config" / "app");
    fs::create_directories(r / "Tool.app" / "Contents");
    writeFile(r / "Projects" / "plan.txt", "twelve bytes");
    writeFile(r / "notes.md", "");
    writeFile(r / ".hidden-file", "h");
    writeFile(r / ".config" / "app" / "settings", "s");
    writeFile(r / "Tool.app" / "Contents" / "Info.plist", "i");
    ASSERT_EQ(::mkfifo((r / "pipe").c_str(), 0600), 0);

    const SafetyScanResult result = scan(r);

    EXPECT_EQ(pathsOf(result),
              (std::vector<std::string>{(r / ".config").string(), (r / ".hidden-file").string(),
                                        (r / "Projects" / "plan.txt").string(),
                                        (r / "Tool.app").string(), (r / "notes.md").string()}));
    for (const fs::path& file : {r / "Projects" / "plan.txt", r / "notes.md"}) {
        SCOPED_TRACE(file);
        const ICloudFileScanResult* row = rowAt(result, file);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->state, ICloudFileState::localCurrent);
        EXPECT_EQ(row->confidence, ConfidenceLevel::verified);
        EXPECT_EQ(row->reason, kCurrent);
        EXPECT_EQ(row->fileSize, static_cast<std::int64_t>(fs::file_size(file)));
        struct stat st {};
        ASSERT_EQ(::lstat(file.c_str(), &st), 0);
        ASSERT_TRUE(row->modifiedAt);
        EXPECT_NEAR(row->modifiedAt->secondsSince1970(),
                    static_cast<double>(st.st_mtim.tv_sec) + st.st_mtim.tv_nsec / 1e9, 1e-6);
    }
    for (const fs::path& special : {r / ".config", r / "Tool.app", r / ".hidden-file"}) {
        SCOPED_TRACE(special);
        const ICloudFileScanResult* row = rowAt(result, special);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->state, ICloudFileState::excluded);
        EXPECT_EQ(row->reason, kHiddenPackageLink);
        EXPECT_EQ(row->isDirectory, fs::is_directory(special));
    }
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
    EXPECT_EQ(result.findings.at(2).title, "iCloud Drive files appear local");
}

TEST_F(ICloudDriveScannerLinuxTest, SymbolicLinkLoopsAreOneRowEachAndEndTheScan) {
    const fs::path r = root() / "r";
    fs::create_directories(r / "sub");
    writeFile(r / "sub" / "file", "f");
    fs::create_directory_symlink(".", r / "self");
    fs::create_directory_symlink("..", r / "sub" / "up");
    fs::create_symlink("ping", r / "pong");
    fs::create_symlink("pong", r / "ping");
    fs::create_symlink(r / "sub" / "file", r / "to-file");

    const SafetyScanResult result = scan(r);

    EXPECT_EQ(pathsOf(result),
              (std::vector<std::string>{(r / "ping").string(), (r / "pong").string(),
                                        (r / "self").string(), (r / "sub" / "file").string(),
                                        (r / "sub" / "up").string(), (r / "to-file").string()}));
    for (const auto& row : result.iCloudFileResults) {
        if (row.path == (r / "sub" / "file").string())
            continue;
        SCOPED_TRACE(row.path);
        EXPECT_EQ(row.state, ICloudFileState::excluded);
        EXPECT_EQ(row.reason, kHiddenPackageLink);
        EXPECT_FALSE(row.isDirectory);
    }
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
}

TEST_F(ICloudDriveScannerLinuxTest, UnusualNamesComeThroughAsRows) {
    const std::vector<std::string> names = {
        "line\nbreak.txt",
        "colon: and \\ back",
        std::string(251, 'n') + ".txt",  // 255 bytes, the longest a name may be
        "caf\xe9 (latin-1).txt",         // not UTF-8
        "\xff\xfe",
    };
    const fs::path r = root() / "r";
    fs::create_directories(r / "deeper");
    for (const auto& name : names) {
        writeFile(r / name, name);
        writeFile(r / "deeper" / name, name);
    }
    fs::create_directories(r / ("folder\n" + std::string("\xc3\x28")));
    writeFile(r / ("folder\n" + std::string("\xc3\x28")) / "inside", "x");

    const SafetyScanResult result = scan(r);

    ASSERT_EQ(result.iCloudFileResults.size(), 2 * names.size() + 1);
    for (const auto& name : names) {
        for (const fs::path& file : {r / name, r / "deeper" / name}) {
            SCOPED_TRACE(printable(file.string()));
            const ICloudFileScanResult* row = rowAt(result, file);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->displayName, name);
            EXPECT_EQ(row->state, ICloudFileState::localCurrent);
            EXPECT_EQ(row->fileSize, static_cast<std::int64_t>(name.size()));
        }
    }
    EXPECT_NE(rowAt(result, r / ("folder\n" + std::string("\xc3\x28")) / "inside"), nullptr);
}

TEST_F(ICloudDriveScannerLinuxTest, ATreeDeeperThanTheLimitGetsTooDeepRows) {
    // A file in every folder d1 ... d66: the file in d63 is at level 64, the last one
    // examined normally; d65 and the file in d64 are at level 65.
    const fs::path r = root() / "r";
    fs::path folder = r;
    std::vector<fs::path> folders;
    for (int level = 1; level <= 66; ++level) {
        folder /= "d" + std::to_string(level);
        folders.push_back(folder);
    }
    fs::create_directories(folder);
    for (const auto& f : folders) writeFile(f / "f", "x");

    const SafetyScanResult result = scan(r);

    ASSERT_EQ(result.iCloudFileResults.size(), 63u + 2u);
    for (int level = 1; level <= 63; ++level) {
        SCOPED_TRACE(level);
        const ICloudFileScanResult* row = rowAt(result, folders[level - 1] / "f");
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->state, ICloudFileState::localCurrent);
    }
    for (const fs::path& deep : {folders[63] / "f", folders[64]}) {
        SCOPED_TRACE(deep);
        const ICloudFileScanResult* row = rowAt(result, deep);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->state, ICloudFileState::excluded);
        EXPECT_EQ(row->reason, kTooDeep);
    }
    EXPECT_EQ(rowAt(result, folders[64] / "f"), nullptr);
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
}

TEST_F(ICloudDriveScannerLinuxTest, FoldersAndItemsThatCannotBeReadBecomeRows) {
    const fs::path r = root() / "r";
    fs::create_directories(r / "a-locked");
    fs::create_directories(r / "b-listable-only");
    writeFile(r / "a-locked" / "x", "x");
    writeFile(r / "b-listable-only" / "y", "y");
    writeFile(r / "c", "c");
    fs::permissions(r / "a-locked", fs::perms::none);
    fs::permissions(r / "b-listable-only", fs::perms::owner_read);

    // Root ignores permissions, so the scan runs in a child that gave that power up.
    const auto output = testing::runInChild([&]() -> std::string {
        if (!testing::dropPermissionOverride())
            return "cannot drop";
        if (::open((r / "a-locked").c_str(), O_RDONLY | O_DIRECTORY) >= 0)
            return "still privileged";
        std::vector<std::string> lines;
        for (const auto& row : scan(r).iCloudFileResults)
            lines.push_back(row.path + " " + std::string(rawValue(row.state)) + " " + row.reason);
        return testing::joinRecords(lines);
    });
    fs::permissions(r / "a-locked", fs::perms::owner_all);
    fs::permissions(r / "b-listable-only", fs::perms::owner_all);
    ASSERT_TRUE(output.has_value());
    if (*output == "cannot drop" || *output == "still privileged")
        GTEST_SKIP() << "this process cannot be made to obey file permissions: " << *output;
    EXPECT_THAT(
        testing::splitRecords(*output),
        ::testing::ElementsAre((r / "a-locked").string() + " excluded " + kUnreadable,
                               (r / "b-listable-only" / "y").string() + " excluded " + kUnreadable,
                               (r / "c").string() + " localCurrent " + kCurrent));
}

TEST_F(ICloudDriveScannerLinuxTest, DetectionFindsOnlyTheCloudFolderInAnOrdinaryHome) {
    const fs::path home = root() / "home";
    fs::create_directories(home / "Desktop");
    fs::create_directories(home / "Documents");
    LinuxFileSystem::Options options;
    options.environment = [&](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "HOME")
            return home.string();
        return std::nullopt;
    };
    const LinuxFileSystem fileSystem(options);
    const SystemClock clock;

    // Local Desktop and Documents folders are not synced items.
    EXPECT_TRUE(ICloudScanRootDetector::detectDefaultRoots(fileSystem, clock).empty());

    const fs::path cloudDocs = home / "Library" / "Mobile Documents" / "com~apple~CloudDocs";
    fs::create_directories(cloudDocs / "Documents");
    const auto roots = ICloudScanRootDetector::detectDefaultRoots(fileSystem, clock);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].path, cloudDocs.string());
    EXPECT_EQ(roots[0].kind, ICloudScanRootKind::iCloudDrive);
    EXPECT_EQ(roots[1].path, (cloudDocs / "Documents").string());
    EXPECT_EQ(roots[1].kind, ICloudScanRootKind::documents);
}

// Everything about an item a scan could conceivably change.
struct ItemState {
    std::uint64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::uint32_t mtimeNanoseconds = 0;
    std::int64_t ctimeSeconds = 0;
    std::uint32_t ctimeNanoseconds = 0;
    std::uint32_t mode = 0;
    std::string contents;

    bool operator==(const ItemState&) const = default;
};

std::map<std::string, ItemState> snapshotTree(const fs::path& top) {
    std::map<std::string, ItemState> items;
    for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path& path = it->path();
        struct statx record {};
        EXPECT_EQ(::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW,
                          STATX_SIZE | STATX_MTIME | STATX_CTIME | STATX_MODE, &record),
                  0)
            << path;
        ItemState state{record.stx_size,
                        record.stx_mtime.tv_sec,
                        record.stx_mtime.tv_nsec,
                        record.stx_ctime.tv_sec,
                        record.stx_ctime.tv_nsec,
                        record.stx_mode,
                        {}};
        if (S_ISREG(record.stx_mode))
            state.contents = readFile(path);
        items.emplace(path.string(), std::move(state));
    }
    return items;
}

TEST_F(ICloudDriveScannerLinuxTest, TheScanChangesNothing) {
    const fs::path r = root() / "r";
    fs::create_directories(r / "Projects" / "Empty");
    fs::create_directories(r / ".hidden-folder");
    fs::create_directories(r / "Tool.app" / "Contents");
    writeFile(r / "Projects" / "plan.txt", "plan");
    writeFile(r / "Projects" / "line\nbreak", "odd name");
    writeFile(r / ".hidden-folder" / "inside", "inside");
    writeFile(r / "Tool.app" / "Contents" / "Info.plist", "plist");
    writeFile(r / "big.bin", std::string(1 << 20, 'b'));
    fs::create_symlink("Projects", r / "link");
    fs::path deep = r;
    for (int level = 1; level <= 70; ++level) deep /= "d";
    fs::create_directories(deep);
    writeFile(deep / "deepest", "deep");
    // Timestamps of items written just now could share the clock tick of a change made by
    // the scan; wait until the clock has moved past them.
    const auto before = snapshotTree(r);
    ::usleep(20'000);

    const SafetyScanResult result = scan(r);
    ASSERT_GT(result.iCloudFileResults.size(), 5u);
    EXPECT_FALSE(result.iCloudSummary->didModifyFiles);

    const auto after = snapshotTree(r);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, state] : before) {
        SCOPED_TRACE(printable(path));
        const auto found = after.find(path);
        ASSERT_NE(found, after.end());
        EXPECT_EQ(found->second, state);
    }
}

}  // namespace
}  // namespace tallowmere
