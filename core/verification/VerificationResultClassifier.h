#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/verification/VerificationItemResult.h"

namespace tallowmere {

// What was observed of one checked file.
struct VerificationFileMetadata {
    bool exists = false;
    bool isReadable = false;
    std::optional<std::int64_t> expectedSize = std::nullopt;
    std::optional<std::int64_t> actualSize = std::nullopt;
    std::optional<std::string> expectedChecksum = std::nullopt;
    std::optional<std::string> actualChecksum = std::nullopt;

    bool operator==(const VerificationFileMetadata&) const = default;
};

struct VerificationClassification {
    VerificationItemStatus status = VerificationItemStatus::unknown;
    // Absent exactly when `passed`.
    std::optional<std::string> failureReason = std::nullopt;

    bool operator==(const VerificationClassification&) const = default;
};

}  // namespace tallowmere

// Maps observed file facts to a result status and its reason. Pure functions.
namespace tallowmere::VerificationResultClassifier {

// The first matching rule wins: missing; unreadable; no actual size (unknown); a recorded
// size that differs (sizeMismatch); no actual checksum (unknown); an expected checksum that
// differs as text (checksumMismatch); otherwise passed. Without an expected checksum a
// file can never be a checksum mismatch.
VerificationClassification classify(const VerificationFileMetadata& metadata);

}  // namespace tallowmere::VerificationResultClassifier
