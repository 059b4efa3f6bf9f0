#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/secondcopy/BackupDestination.h"

namespace tallowmere {

// What was observed of a destination folder on disk.
struct BackupDestinationProbe {
    std::optional<std::string> path = std::nullopt;
    bool exists = false;
    bool isDirectory = false;
    bool isWritable = false;
    bool isRemovable = false;
    // Free bytes of the folder's file system; absent when they could not be read.
    std::optional<std::int64_t> availableBytes = std::nullopt;
    // The size of the prepared backup, when there is one.
    std::optional<std::int64_t> estimatedBytesNeeded = std::nullopt;

    bool operator==(const BackupDestinationProbe&) const = default;
};

struct BackupDestinationEvaluation {
    BackupDestinationStatus status = BackupDestinationStatus::unknown;
    std::optional<std::string> warningMessage = std::nullopt;

    bool operator==(const BackupDestinationEvaluation&) const = default;
};

// Turns a probe of a destination folder into its status. Pure; callable from any thread.
namespace BackupDestinationStatusEvaluator {

// Without an estimate, less free space than this (10^9 bytes) is low.
inline constexpr std::int64_t lowSpaceFloorBytes = 1'000'000'000;

// First match wins: no path -> notSelected; missing or not a folder -> missing; not
// writable -> permissionIssue; free space known and strictly below the estimate (or, without
// one, below the floor) -> lowStorage with its warning; otherwise connected, with the
// external-drive warning when the volume is not removable.
BackupDestinationEvaluation evaluate(const BackupDestinationProbe& probe);

}  // namespace BackupDestinationStatusEvaluator

}  // namespace tallowmere
