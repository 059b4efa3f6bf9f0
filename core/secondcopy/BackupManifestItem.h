#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/icloud/ICloudFileState.h"
#include "core/platform/Json.h"

namespace tallowmere {

// Where one manifest item stands. Stored by raw value; the store decides how to read a
// raw value it cannot parse.
enum class BackupItemStatus { pending, copied, alreadyCopied, skipped, conflict, failed };

template <>
struct EnumTable<BackupItemStatus> {
    static constexpr std::array<EnumCase<BackupItemStatus>, 6> kCases{{
        {BackupItemStatus::pending, "pending", "Pending"},
        {BackupItemStatus::copied, "copied", "Copied"},
        {BackupItemStatus::alreadyCopied, "alreadyCopied", "Already copied"},
        {BackupItemStatus::skipped, "skipped", "Skipped"},
        {BackupItemStatus::conflict, "conflict", "Conflict"},
        {BackupItemStatus::failed, "failed", "Failed"},
    }};
};

// One line of a backup job's manifest: a scanned item, where its copy goes and what
// happened to it.
struct BackupManifestItem {
    Uuid id{};
    Uuid jobID{};
    // The scan result and scan root the item was built from.
    std::optional<Uuid> sourceResultID = std::nullopt;
    std::optional<Uuid> rootID = std::nullopt;
    std::string sourcePath{};
    // Below the item's root, sanitized, "/"-separated.
    std::string relativePath{};
    std::string destinationPath{};
    // As recorded by the scan.
    std::optional<std::int64_t> fileSize = std::nullopt;
    std::optional<Date> modifiedAt = std::nullopt;
    ICloudFileState sourceState = ICloudFileState::unknown;
    bool isEligible = false;
    // `pending` when eligible, `skipped` otherwise, at creation.
    BackupItemStatus status = BackupItemStatus::pending;
    // The eligibility message at creation; later the copy outcome.
    std::string message{};
    Date createdAt{};
    // Later the time of the last status change.
    Date updatedAt{};

    bool operator==(const BackupManifestItem&) const = default;
};

void to_json(Json& json, const BackupManifestItem& item);
void from_json(const Json& json, BackupManifestItem& item);

}  // namespace tallowmere
