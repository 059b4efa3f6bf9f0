#pragma once

// The screen sections an activity event points the user to.
namespace tallowmere::ActivityTargets {

inline constexpr const char* kICloudDriveSafety = "iCloudDriveSafety";
inline constexpr const char* kPhotosSafety = "photosSafety";
inline constexpr const char* kBackupDestination = "backupDestination";
inline constexpr const char* kVerification = "verification";
inline constexpr const char* kReports = "reports";
inline constexpr const char* kSettings = "settings";

}  // namespace tallowmere::ActivityTargets
