#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// What the screens show while files are copied. Never stored.
struct BackupProgressSnapshot {
    bool isRunning = false;
    // The relative path of the item being copied.
    std::optional<std::string> currentFile = std::nullopt;
    std::int64_t totalFiles = 0;
    std::int64_t completedFiles = 0;
    std::int64_t skippedFiles = 0;
    std::int64_t failedFiles = 0;
    std::int64_t conflictFiles = 0;
    std::int64_t copiedBytes = 0;
    std::int64_t totalBytes = 0;
    bool isCancelling = false;
    bool isPaused = false;
    std::string message{};

    // Not running, no current file, every number 0, both flags false.
    static BackupProgressSnapshot idle();

    bool operator==(const BackupProgressSnapshot&) const = default;
};

void to_json(Json& json, const BackupProgressSnapshot& progress);
void from_json(const Json& json, BackupProgressSnapshot& progress);

}  // namespace tallowmere
