#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// Only `safety` reports are produced; the other kinds exist so stored rows of those
// kinds can be read back.
enum class ReportKind { safety, backup, verification, restoreTest, error };

template <>
struct EnumTable<ReportKind> {
    static constexpr std::array<EnumCase<ReportKind>, 5> kCases{{
        {ReportKind::safety, "safety"},
        {ReportKind::backup, "backup"},
        {ReportKind::verification, "verification"},
        {ReportKind::restoreTest, "restoreTest"},
        {ReportKind::error, "error"},
    }};
};

// The stored report written after every completed iCloud Drive scan.
struct ReportSummary {
    Uuid id;
    ReportKind kind = ReportKind::safety;
    std::string title;
    Date generatedAt;
    SafetyState status = SafetyState::unknown;
    std::int64_t protectedFilesCount = 0;
    std::int64_t unprotectedFilesCount = 0;
    std::int64_t failedFilesCount = 0;
    std::string recommendedNextStep;

    bool operator==(const ReportSummary&) const = default;
};

void to_json(Json& json, const ReportSummary& report);
void from_json(const Json& json, ReportSummary& report);

}  // namespace tallowmere
