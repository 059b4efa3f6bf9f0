#include "core/platform/StandardizedPath.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

TEST(StandardizedPathTest, ResolvesDotsAndSlashesByTextAlone) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/a/b/c", "/a/b/c"},
        {"/a/./b//c/", "/a/b/c"},
        {"/a/b/../c", "/a/c"},
        {"/a/b/../../..", "/"},
        {"/../../etc/passwd", "/etc/passwd"},
        {"/", "/"},
        {"", "/"},
        {"/a/..b/c..", "/a/..b/c.."},
        {"/Restore Tests/R/../R-sibling/x", "/Restore Tests/R-sibling/x"},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(input);
        EXPECT_EQ(standardizedPath(input), expected);
    }
}

TEST(StandardizedPathTest, BeginsWithFolderNeedsTheSeparatorAfterTheFolder) {
    struct Case {
        const char* path;
        const char* folder;
        bool inside;
    };
    const std::vector<Case> cases{
        {"/drive/Backup/a.txt", "/drive/Backup", true},
        {"/drive/Backup/", "/drive/Backup", true},
        {"/drive/Backup", "/drive/Backup", false},
        {"/drive/Backup 2/a.txt", "/drive/Backup", false},
        {"/drive/Backupa.txt", "/drive/Backup", false},
        {"/a.txt", "/", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in " + c.folder);
        EXPECT_EQ(beginsWithFolder(c.path, c.folder), c.inside);
    }
}

}  // namespace
}  // namespace tallowmere
