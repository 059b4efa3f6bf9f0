#include "core/platform/PathText.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

TEST(PathTextTest, StandardizesLikeAFileUrl) {
    struct Case {
        std::string path;
        std::string standardized;
        std::string last;
        std::string parent;
    };
    for (const Case& c : std::vector<Case>{
             {"/", "/", "", "/"},
             {"", "/", "", "/"},
             {"/a/b/", "/a/b", "b", "/a"},
             {"//a///b", "/a/b", "b", "/a"},
             {"/a/./b/../c", "/a/c", "c", "/a"},
             {"/..", "/", "", "/"},
             {"/a/../../b", "/b", "b", "/"},
             {"/a/..b/c.", "/a/..b/c.", "c.", "/a/..b"},
             {"/x/\xFF\n:/y", "/x/\xFF\n:/y", "y", "/x/\xFF\n:"},
         }) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(path_text::standardized(c.path), c.standardized);
        EXPECT_EQ(path_text::lastComponent(c.path), c.last);
        EXPECT_EQ(path_text::parent(c.path), c.parent);
    }
    EXPECT_EQ(path_text::components("/a//b/"), (std::vector<std::string>{"/", "a", "b"}));
    EXPECT_EQ(path_text::components("/"), std::vector<std::string>{"/"});
    EXPECT_EQ(path_text::appending("/a/", "/b"), "/a/b");
    EXPECT_EQ(path_text::appending("/", "b"), "/b");
}

TEST(PathTextTest, WithinComparesWholeComponents) {
    struct Case {
        std::string path;
        std::string folder;
        bool within;
    };
    for (const Case& c : std::vector<Case>{
             {"/a/b", "/a", true},
             {"/a", "/a", true},
             {"/a/", "/a", true},
             {"/ab", "/a", false},
             {"/a/../b", "/a", false},
             {"/anything", "/", true},
             {"/a", "/a/b", false},
         }) {
        SCOPED_TRACE(c.path + " in " + c.folder);
        EXPECT_EQ(path_text::isWithin(c.path, c.folder), c.within);
    }
}

}  // namespace
}  // namespace tallowmere
