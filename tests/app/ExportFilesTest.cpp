#include <gtest/gtest.h>

#include "app/ExportFileNames.h"
#include "app/SupportDiagnostics.h"

namespace tallowmere {
namespace {

TEST(ExportFileNamesTest, TimestampIsTheLocalTimeOfTheExport) {
    const Date date(1'741'943'700.75);  // 2025-03-14 09:15:00.75 UTC
    EXPECT_EQ(ExportFileNames::timestamp(date, QTimeZone::utc()), "20250314-091500");
    EXPECT_EQ(ExportFileNames::timestamp(date, QTimeZone(QByteArrayLiteral("Asia/Tokyo"))),
              "20250314-181500");
    EXPECT_EQ(ExportFileNames::reportCard("iCloudScan", date, QTimeZone::utc()),
              "iCloudScan-report-20250314-091500.json");
    EXPECT_EQ(ExportFileNames::diagnostics(date, QTimeZone::utc()),
              "Tallowmere-Diagnostics-20250314-091500.json");
    // Two exports within one second propose the same name.
    EXPECT_EQ(ExportFileNames::diagnostics(date.addingSeconds(0.2), QTimeZone::utc()),
              ExportFileNames::diagnostics(date, QTimeZone::utc()));
}

TEST(SupportDiagnosticsTest, EncodesExactlyTheNineMembersInSortedOrder) {
    SupportDiagnosticsExport diagnostics;
    diagnostics.appVersion = "0.1.0";
    diagnostics.build = "1";
    diagnostics.macOSVersion = "Debian GNU/Linux 12 (bookworm) (6.1.0-18-amd64)";
    diagnostics.lastScanAt = Date(1'741'943'700);
    diagnostics.lastPhotosScanAt = Date(1'741'943'760);
    diagnostics.backupStatus = "completedWithSkipped";
    diagnostics.verificationStatus = "notRun";
    diagnostics.generatedAt = Date(1'741'943'820.9);

    const std::string expected = R"json({
  "appVersion": "0.1.0",
  "backupStatus": "completedWithSkipped",
  "build": "1",
  "generatedAt": "2025-03-14T09:17:00Z",
  "lastPhotosScanAt": "2025-03-14T09:16:00Z",
  "lastScanAt": "2025-03-14T09:15:00Z",
  "macOSVersion": "Debian GNU/Linux 12 (bookworm) (6.1.0-18-amd64)",
  "privacyRedactions": [
    "No file paths",
    "No iCloud scan results or counts",
    "No Photos metadata or asset counts",
    "No backup manifests",
    "No checksums",
    "No reports",
    "No user files or photos"
  ],
  "verificationStatus": "notRun"
})json";
    EXPECT_EQ(encodeJson(Json(diagnostics)), expected);

    diagnostics.lastScanAt.reset();
    diagnostics.lastPhotosScanAt.reset();
    const Json withoutDates = diagnostics;
    EXPECT_EQ(withoutDates.size(), 7u);
    EXPECT_FALSE(withoutDates.contains("lastScanAt"));
    EXPECT_FALSE(withoutDates.contains("lastPhotosScanAt"));
}

}  // namespace
}  // namespace tallowmere
