#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Bytes.h"
#include "core/platform/Json.h"

namespace tallowmere {

// The result of evaluating a destination folder. The store reads a raw value it cannot
// parse as `unknown`.
enum class BackupDestinationStatus {
    notSelected,
    connected,
    missing,
    lowStorage,
    permissionIssue,
    unknown
};

template <>
struct EnumTable<BackupDestinationStatus> {
    static constexpr std::array<EnumCase<BackupDestinationStatus>, 6> kCases{{
        {BackupDestinationStatus::notSelected, "notSelected", "Not selected"},
        {BackupDestinationStatus::connected, "connected", "Available"},
        {BackupDestinationStatus::missing, "missing", "Missing"},
        {BackupDestinationStatus::lowStorage, "lowStorage", "Low space"},
        {BackupDestinationStatus::permissionIssue, "permissionIssue", "Permission issue"},
        {BackupDestinationStatus::unknown, "unknown", "Unknown"},
    }};
};

// One chosen destination folder for the second copy.
struct BackupDestination {
    // Fresh for every selection.
    Uuid id{};
    // The folder's last path component, or its whole path when that is empty.
    std::string displayName{};
    std::optional<std::string> path = std::nullopt;
    std::optional<Bytes> bookmarkData = std::nullopt;
    // Free bytes of the folder's file system at the last evaluation.
    std::optional<std::int64_t> availableBytes = std::nullopt;
    BackupDestinationStatus status = BackupDestinationStatus::unknown;
    bool isSelected = false;
    bool isRemovable = false;
    std::optional<std::string> volumeName = std::nullopt;
    std::optional<std::string> warningMessage = std::nullopt;
    Date selectedAt{};
    // The last evaluation at which the folder was usable (`connected` or `lowStorage`).
    std::optional<Date> lastSeenAt = std::nullopt;
    Date updatedAt{};

    bool operator==(const BackupDestination&) const = default;
};

// `bookmarkData` is written as Base64 text.
void to_json(Json& json, const BackupDestination& destination);
void from_json(const Json& json, BackupDestination& destination);

}  // namespace tallowmere
