#include "core/dashboard/AppSection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/EnumTableCheck.h"

namespace tallowmere {
namespace {

TEST(AppSectionTest, SectionsInSidebarOrderWithTitlesAndSymbols) {
    testing::expectEnumCases<AppSection>({
        {AppSection::dashboard, "dashboard", "Dashboard"},
        {AppSection::photosSafety, "photosSafety", "Photos Safety"},
        {AppSection::iCloudDriveSafety, "iCloudDriveSafety", "iCloud Drive Safety"},
        {AppSection::backupDestination, "backupDestination", "Backup Destination"},
        {AppSection::verification, "verification", "Verification"},
        {AppSection::reports, "reports", "Reports"},
        {AppSection::settings, "settings", "Settings"},
    });
    const std::vector<std::string_view> symbols{
        "gauge.with.dots.needle.bottom.50percent",
        "photo.on.rectangle.angled",
        "icloud",
        "externaldrive",
        "checkmark.seal",
        "doc.text",
        "gearshape",
    };
    for (const auto& entry : allCases<AppSection>()) {
        SCOPED_TRACE(std::string(entry.raw));
        EXPECT_EQ(systemSymbolName(entry.value), symbols.at(caseIndex(entry.value)));
    }
}

}  // namespace
}  // namespace tallowmere
