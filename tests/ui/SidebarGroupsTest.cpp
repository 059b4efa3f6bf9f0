#include "ui/navigation/SidebarGroups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallowmere {
namespace {

TEST(SidebarGroupsTest, HoldEverySectionOnceInOrder) {
    const auto groups = sidebarGroups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].title, "Safety");
    EXPECT_EQ(groups[1].title, "Second copy");
    EXPECT_EQ(groups[2].title, "Account");
    EXPECT_EQ(std::vector<AppSection>(groups[0].sections.begin(), groups[0].sections.end()),
              (std::vector{AppSection::dashboard, AppSection::photosSafety,
                           AppSection::iCloudDriveSafety}));
    EXPECT_EQ(std::vector<AppSection>(groups[1].sections.begin(), groups[1].sections.end()),
              (std::vector{AppSection::backupDestination, AppSection::verification,
                           AppSection::reports}));
    EXPECT_EQ(std::vector<AppSection>(groups[2].sections.begin(), groups[2].sections.end()),
              (std::vector{AppSection::settings}));

    // Read top to bottom, the sidebar lists the sections in declaration order.
    std::vector<AppSection> flattened;
    for (const SidebarGroup& group : groups)
        flattened.insert(flattened.end(), group.sections.begin(), group.sections.end());
    std::vector<AppSection> all;
    for (const auto& entry : allCases<AppSection>()) all.push_back(entry.value);
    EXPECT_EQ(flattened, all);
}

}  // namespace
}  // namespace tallowmere
