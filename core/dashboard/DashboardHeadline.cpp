#include "core/dashboard/DashboardHeadline.h"

namespace tallowmere {
namespace {

struct Row {
    std::string_view symbol;
    ColorRole color;
    std::string_view headline;
};

// Indexed by SafetyState in declaration order.
constexpr std::array<Row, 6> kRows{{
    {"checkmark.shield.fill", ColorRole::success, "Your checked areas look protected."},
    {"exclamationmark.triangle.fill", ColorRole::amber, "A few safety steps need attention."},
    {"icloud.fill", ColorRole::danger, "Some files may only be in iCloud."},
    {"arrow.triangle.2.circlepath.circle.fill", ColorRole::danger,
     "Some items may be stuck syncing."},
    {"clock.badge.exclamationmark.fill", ColorRole::danger, "Your second copy needs attention."},
    {"questionmark.circle.fill", ColorRole::secondaryLabel,
     "Create your first local safety baseline."},
}};

}  // namespace

DashboardHeadline DashboardHeadline::make(SafetyState overallState) {
    const Row& row = kRows[caseIndex(overallState)];
    return {displayName(overallState), row.symbol, row.color, row.headline};
}

std::string_view DashboardHeadline::destinationSentence(
    const std::optional<BackupDestination>& selectedDestination) {
    if (selectedDestination && !selectedDestination->isRemovable) {
        return "Your selected destination appears to be on the internal disk. Use an external "
               "drive for a real second copy.";
    }
    return "Tallowmere keeps scans, reports, and backup manifests local to this Mac.";
}

}  // namespace tallowmere
