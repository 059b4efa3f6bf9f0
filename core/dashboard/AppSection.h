#pragma once

#include <array>
#include <string_view>

#include "core/platform/EnumText.h"

namespace tallowmere {

// The sections of the main window's sidebar, in sidebar order. The raw value also names
// the section an activity event points to; the display name is the section's title.
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

// The system symbol shown beside the section's title.
constexpr std::string_view systemSymbolName(AppSection section) {
    constexpr std::array<std::string_view, 7> kSymbols{
        "gauge.with.dots.needle.bottom.50percent",
        "photo.on.rectangle.angled",
        "icloud",
        "externaldrive",
        "checkmark.seal",
        "doc.text",
        "gearshape",
    };
    return kSymbols[caseIndex(section)];
}

}  // namespace tallowmere
