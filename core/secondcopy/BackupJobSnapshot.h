#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// Where a backup job stands. `notStarted` is only the placeholder for "no job stored";
// `preparing` is never stored.
enum class BackupJobStatus {
    notStarted,
    preparing,
    prepared,
    running,
    paused,
    cancelled,
    completed,
    completedWithSkipped,
    failed
};

template <>
struct EnumTable<BackupJobStatus> {
    static constexpr std::array<EnumCase<BackupJobStatus>, 9> kCases{{
        {BackupJobStatus::notStarted, "notStarted", "Not started"},
        {BackupJobStatus::preparing, "preparing", "Preparing"},
        {BackupJobStatus::prepared, "prepared", "Prepared"},
        {BackupJobStatus::running, "running", "Running"},
        {BackupJobStatus::paused, "paused", "Paused"},
        {BackupJobStatus::cancelled, "cancelled", "Cancelled"},
        {BackupJobStatus::completed, "completed", "Completed"},
        {BackupJobStatus::completedWithSkipped, "completedWithSkipped",
         "Completed with skipped items"},
        {BackupJobStatus::failed, "failed", "Failed"},
    }};
};

// One backup job, from prepare through every later state; stored and replaced by `id`.
struct BackupJobSnapshot {
    // Kept from prepare through every later state of the job.
    Uuid id{};
    std::optional<Uuid> destinationID = std::nullopt;
    std::optional<Uuid> sourceScanRunID = std::nullopt;
    BackupJobStatus status = BackupJobStatus::notStarted;
    std::optional<Date> startedAt = std::nullopt;
    // Absent while running or paused.
    std::optional<Date> completedAt = std::nullopt;
    std::optional<Date> cancelledAt = std::nullopt;
    // Eligible manifest items.
    std::int64_t totalFiles = 0;
    // Items `copied` or `alreadyCopied`.
    std::int64_t completedFiles = 0;
    std::int64_t failedFiles = 0;
    std::int64_t skippedFiles = 0;
    std::int64_t conflictFiles = 0;
    // Recorded sizes of the eligible items (an absent size counts 0).
    std::int64_t preparedBytes = 0;
    // Recorded sizes of the `copied` and `alreadyCopied` items.
    std::int64_t copiedBytes = 0;
    // The manifest preview file.
    std::optional<std::string> manifestJSONPath = std::nullopt;
    // The status line shown to the user.
    std::string message{};

    bool operator==(const BackupJobSnapshot&) const = default;
};

void to_json(Json& json, const BackupJobSnapshot& job);
void from_json(const Json& json, BackupJobSnapshot& job);

}  // namespace tallowmere
