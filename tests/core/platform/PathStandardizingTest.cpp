#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/PathStandardizing.h"

namespace tallowmere {
namespace {

struct Case {
    std::string given;
    std::string expected;
};

TEST(PathStandardizingTest, SpellingsOfOneFolderGiveOnePath) {
    const std::vector<Case> cases = {
        {"/home/ada/Trips", "/home/ada/Trips"},
        {"/home/ada/Trips/", "/home/ada/Trips"},
        {"/home/ada/./Trips", "/home/ada/Trips"},
        {"/home/ada/x/../Trips", "/home/ada/Trips"},
        {"/home//ada/Trips//", "/home/ada/Trips"},
        {"//home/ada", "/home/ada"},
        {"/home/ada/Trips/..", "/home/ada"},
        {"/", "/"},
        {"///", "/"},
        {"/..", "/"},
        {"/a/../..", "/"},
        {"/../../etc/passwd", "/etc/passwd"},
        {"/Restore Tests/R/../R-sibling/x", "/Restore Tests/R-sibling/x"},
        // Only the segments "." and "..": names that merely contain dots are names.
        {"/a/...", "/a/..."},
        {"/a/.hidden/b..c", "/a/.hidden/b..c"},
        // Any bytes are name bytes.
        {"/a/line\nbreak:colon/\xff\xfe", "/a/line\nbreak:colon/\xff\xfe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(PathStandardizing::standardizedPath(c.given), c.expected);
    }
}

TEST(PathStandardizingTest, RelativePathsStartAtTheWorkingFolder) {
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(PathStandardizing::standardizedPath("x/./y/"), current + "/x/y");
    EXPECT_EQ(PathStandardizing::standardizedPath("."), current);
}

TEST(PathStandardizingTest, BeginsWithFolderNeedsTheSeparatorAfterTheFolder) {
    struct FolderCase {
        const char* path;
        const char* folder;
        bool inside;
    };
    const std::vector<FolderCase> cases{
        {"/drive/Backup/a.txt", "/drive/Backup", true},
        {"/drive/Backup/", "/drive/Backup", true},
        {"/drive/Backup", "/drive/Backup", false},
        {"/drive/Backup 2/a.txt", "/drive/Backup", false},
        {"/drive/Backupa.txt", "/drive/Backup", false},
        {"/a.txt", "/", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in " + c.folder);
        EXPECT_EQ(PathStandardizing::beginsWithFolder(c.path, c.folder), c.inside);
    }
}

TEST(PathStandardizingTest, LastPathComponent) {
    const std::vector<Case> cases = {
        {"/home/ada/Trips", "Trips"},
        {"/home/ada/Trips/", "Trips"},
        {"/Trips", "Trips"},
        {"/", "/"},
        {"//", "/"},
        {"Trips", "Trips"},
        {"", ""},
        {"/a/name with\nnewline", "name with\nnewline"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(PathStandardizing::lastPathComponent(c.given), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere
