#pragma once

#include <span>
#include <string_view>

#include "core/dashboard/AppSection.h"

namespace tallowmere {

// A titled group of sidebar rows.
struct SidebarGroup {
    std::string_view title;
    std::span<const AppSection> sections;
};

// "Safety", "Second copy" and "Account", in that order; together they hold every section
// exactly once.
std::span<const SidebarGroup> sidebarGroups();

}  // namespace tallowmere
