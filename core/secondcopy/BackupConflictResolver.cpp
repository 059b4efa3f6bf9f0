#include "core/secondcopy/BackupConflictResolver.h"

#include <cmath>

namespace tallowmere::BackupConflictResolver {

BackupExistingFileDecision decide(const BackupFileSnapshot& prepared,
                                  const BackupFileSnapshot& existing) {
    if (prepared.fileSize != existing.fileSize)
        return BackupExistingFileDecision::conflict;
    if (!prepared.modifiedAt)
        return BackupExistingFileDecision::alreadyCopied;
    if (!existing.modifiedAt)
        return BackupExistingFileDecision::conflict;
    // Dates are seconds since 1970 in a double, exact only to about 0.2 microseconds today:
    // two dates exactly 2.0 s apart on paper may differ by a hair more, and still count.
    constexpr double kLimit = 2.0 + 1e-6;
    const double apart = std::fabs(prepared.modifiedAt->secondsSince(*existing.modifiedAt));
    return apart <= kLimit ? BackupExistingFileDecision::alreadyCopied
                           : BackupExistingFileDecision::conflict;
}

}  // namespace tallowmere::BackupConflictResolver
