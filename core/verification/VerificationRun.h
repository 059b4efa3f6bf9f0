#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Json.h"
#include "core/verification/VerificationItemResult.h"

namespace tallowmere {

enum class VerificationMode { quick, full, restoreTest };

template <>
struct EnumTable<VerificationMode> {
    static constexpr std::array<EnumCase<VerificationMode>, 3> kCases{{
        {VerificationMode::quick, "quick"},
        {VerificationMode::full, "full"},
        {VerificationMode::restoreTest, "restoreTest"},
    }};
};

// `notRun` is only the placeholder for "no run stored"; `unknown` is never produced and
// exists so that the store has something to read unparsable text as.
enum class VerificationStatus { notRun, running, verified, failed, unknown };

template <>
struct EnumTable<VerificationStatus> {
    static constexpr std::array<EnumCase<VerificationStatus>, 5> kCases{{
        {VerificationStatus::notRun, "notRun"},
        {VerificationStatus::running, "running"},
        {VerificationStatus::verified, "verified"},
        {VerificationStatus::failed, "failed"},
        {VerificationStatus::unknown, "unknown"},
    }};
};

// One verification or restore-test run; stored and replaced by `id`.
struct VerificationRun {
    // Also the folder name of a restore test.
    Uuid id{};
    VerificationMode mode = VerificationMode::quick;
    VerificationStatus status = VerificationStatus::notRun;
    std::optional<Uuid> backupJobID = std::nullopt;
    Date startedAt{};
    // Absent while running.
    std::optional<Date> completedAt = std::nullopt;
    // Results that are not `skipped`.
    std::int64_t checkedFiles = 0;
    // Results whose status is a failure.
    std::int64_t failedFiles = 0;
    std::int64_t skippedFiles = 0;
    // A restore test: the same as `checkedFiles`; 0 for the other modes.
    std::int64_t restoredSampleFiles = 0;
    std::int64_t bytesChecked = 0;
    // A restore-test folder that was kept.
    std::optional<std::string> restoreTestPath = std::nullopt;
    std::string message{};

    bool operator==(const VerificationRun&) const = default;
};

void to_json(Json& json, const VerificationRun& run);
void from_json(const Json& json, VerificationRun& run);

// The counters of a run, kept while its results come in.
struct VerificationTally {
    std::int64_t checkedFiles = 0;
    std::int64_t failedFiles = 0;
    std::int64_t skippedFiles = 0;
    // Over results that are not skipped: the actual size, else the recorded size, else 0.
    std::int64_t bytesChecked = 0;

    void add(const VerificationItemResult& result);
    static VerificationTally of(const std::vector<VerificationItemResult>& results);

    // `checkedFiles` for a restore test, 0 for the other modes.
    std::int64_t restoredSampleFiles(VerificationMode mode) const;

    bool operator==(const VerificationTally&) const = default;
};

}  // namespace tallowmere
