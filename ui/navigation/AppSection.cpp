#include "ui/navigation/AppSection.h"

namespace tallowmere {
namespace {

constexpr std::array kPrimary{AppSection::dashboard, AppSection::photosSafety,
                              AppSection::iCloudDriveSafety};
constexpr std::array kSecondCopy{AppSection::backupDestination, AppSection::verification,
                                 AppSection::reports};
constexpr std::array kAccount{AppSection::settings};

constexpr std::array kGroups{
    SidebarGroup{"Safety", kPrimary},
    SidebarGroup{"Second copy", kSecondCopy},
    SidebarGroup{"Account", kAccount},
};

}  // namespace

std::string_view symbolName(AppSection section) {
    switch (section) {
        case AppSection::dashboard:
            return "gauge.with.dots.needle.bottom.50percent";
        case AppSection::photosSafety:
            return "photo.on.rectangle.angled";
        case AppSection::iCloudDriveSafety:
            return "icloud";
        case AppSection::backupDestination:
            return "externaldrive";
        case AppSection::verification:
            return "checkmark.seal";
        case AppSection::reports:
            return "doc.text";
        case AppSection::settings:
            return "gearshape";
    }
    return {};
}

std::span<const SidebarGroup> sidebarGroups() {
    return kGroups;
}

}  // namespace tallowmere
