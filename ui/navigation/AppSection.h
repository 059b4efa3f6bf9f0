#pragma once

#include <array>
#include <span>
#include <string_view>

#include "core/platform/EnumText.h"

namespace tallowmere {

// The sections of the main window's sidebar, in sidebar order. The display name is the
// section's title.
enum class AppSection {
    dashboard,
    photosSafety,
    iCloudDriveSafety,
    backupDestination,
    verification,
    reports,
    settings
};

template <>
struct EnumTable<AppSection> {
    static constexpr std::array<EnumCase<AppSection>, 7> kCases{{
        {AppSection::dashboard, "dashboard", "Dashboard"},
        {AppSection::photosSafety, "photosSafety", "Photos Safety"},
        {AppSection::iCloudDriveSafety, "iCloudDriveSafety", "iCloud Drive Safety"},
        {AppSection::backupDestination, "backupDestination", "Backup Destination"},
        {AppSection::verification, "verification", "Verification"},
        {AppSection::reports, "reports", "Reports"},
        {AppSection::settings, "settings", "Settings"},
    }};
};

// The symbol drawn beside the section's title.
std::string_view symbolName(AppSection section);

// A titled group of sidebar rows.
struct SidebarGroup {
    std::string_view title;
    std::span<const AppSection> sections;
};

// "Safety", "Second copy" and "Account", in that order; together they hold every section
// exactly once.
std::span<const SidebarGroup> sidebarGroups();

}  // namespace tallowmere
