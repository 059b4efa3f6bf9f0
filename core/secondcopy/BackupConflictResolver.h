#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/platform/Date.h"
#include "core/platform/EnumText.h"

namespace tallowmere {

// The two facts compared for a file already at a copy's destination.
struct BackupFileSnapshot {
    std::optional<std::int64_t> fileSize = std::nullopt;
    std::optional<Date> modifiedAt = std::nullopt;

    bool operator==(const BackupFileSnapshot&) const = default;
};

enum class BackupExistingFileDecision { alreadyCopied, conflict };

template <>
struct EnumTable<BackupExistingFileDecision> {
    static constexpr std::array<EnumCase<BackupExistingFileDecision>, 2> kCases{{
        {BackupExistingFileDecision::alreadyCopied, "alreadyCopied"},
        {BackupExistingFileDecision::conflict, "conflict"},
    }};
};

// What a file already at a copy's destination means. Pure; callable from any thread.
namespace BackupConflictResolver {

// Sizes must agree (both absent counts as agreeing); then the file is the copy when the
// prepared side has no date, or when both dates are at most 2.0 seconds apart. Anything
// else is a conflict. Contents are never compared here.
BackupExistingFileDecision decide(const BackupFileSnapshot& prepared,
                                  const BackupFileSnapshot& existing);

}  // namespace BackupConflictResolver

}  // namespace tallowmere
