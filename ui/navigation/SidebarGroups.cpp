#include "ui/navigation/SidebarGroups.h"

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

std::span<const SidebarGroup> sidebarGroups() {
    return kGroups;
}

}  // namespace tallowmere
