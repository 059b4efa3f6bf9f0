#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"
#include "core/verification/VerificationRun.h"

namespace tallowmere {

// What the screens show while a verification or restore test runs. Never stored.
struct VerificationProgressSnapshot {
    VerificationMode mode = VerificationMode::quick;
    bool isRunning = false;
    // The relative path of the item being checked.
    std::optional<std::string> currentFile = std::nullopt;
    std::int64_t totalFiles = 0;
    std::int64_t checkedFiles = 0;
    std::int64_t failedFiles = 0;
    std::int64_t skippedFiles = 0;
    std::int64_t bytesChecked = 0;
    std::string message{};

    // Mode `quick`, not running, no current file, every number 0.
    static VerificationProgressSnapshot idle();

    bool operator==(const VerificationProgressSnapshot&) const = default;
};

void to_json(Json& json, const VerificationProgressSnapshot& progress);
void from_json(const Json& json, VerificationProgressSnapshot& progress);

}  // namespace tallowmere
