#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// The outcome of checking one copied file.
enum class VerificationItemStatus {
    passed,
    missing,
    sizeMismatch,
    checksumMismatch,
    unreadable,
    skipped,
    unknown
};

template <>
struct EnumTable<VerificationItemStatus> {
    static constexpr std::array<EnumCase<VerificationItemStatus>, 7> kCases{{
        {VerificationItemStatus::passed, "passed", "Passed"},
        {VerificationItemStatus::missing, "missing", "Missing"},
        {VerificationItemStatus::sizeMismatch, "sizeMismatch", "Size mismatch"},
        {VerificationItemStatus::checksumMismatch, "checksumMismatch", "Checksum mismatch"},
        {VerificationItemStatus::unreadable, "unreadable", "Unreadable"},
        {VerificationItemStatus::skipped, "skipped", "Skipped"},
        {VerificationItemStatus::unknown, "unknown", "Unknown"},
    }};
};

// True for every status except `passed` and `skipped`: an `unknown` outcome is a failure.
constexpr bool isFailure(VerificationItemStatus status) {
    return status != VerificationItemStatus::passed && status != VerificationItemStatus::skipped;
}

enum class ChecksumAlgorithm { sha256 };

template <>
struct EnumTable<ChecksumAlgorithm> {
    static constexpr std::array<EnumCase<ChecksumAlgorithm>, 1> kCases{{
        {ChecksumAlgorithm::sha256, "sha256", "SHA-256"},
    }};
};

// The outcome for one manifest item in one verification or restore-test run.
struct VerificationItemResult {
    // Fresh for every result.
    Uuid id{};
    Uuid runID{};
    // The manifest item's job and the item itself.
    Uuid backupJobID{};
    Uuid manifestItemID{};
    // The item's destination path, or for a restore test the restored file's path.
    std::string checkedPath{};
    std::string relativePath{};
    ChecksumAlgorithm algorithm = ChecksumAlgorithm::sha256;
    // The item's recorded size.
    std::optional<std::int64_t> expectedSize = std::nullopt;
    // The size read from the checked file.
    std::optional<std::int64_t> actualSize = std::nullopt;
    // The checksum the file was compared with, or the new baseline.
    std::optional<std::string> expectedChecksum = std::nullopt;
    std::optional<std::string> actualChecksum = std::nullopt;
    VerificationItemStatus status = VerificationItemStatus::unknown;
    // Absent when `passed`.
    std::optional<std::string> failureReason = std::nullopt;
    Date createdAt{};
    Date updatedAt{};

    bool operator==(const VerificationItemResult&) const = default;
};

void to_json(Json& json, const VerificationItemResult& result);
void from_json(const Json& json, VerificationItemResult& result);

}  // namespace tallowmere
