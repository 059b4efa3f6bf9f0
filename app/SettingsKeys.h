#pragma once

// The keys of the user's choices in the settings table.
namespace tallowmere::SettingsKeys {

inline constexpr const char* kHasCompletedOnboarding = "hasCompletedOnboarding";
inline constexpr const char* kLocalReminderBackupCompleted = "localReminderBackupCompleted";
inline constexpr const char* kLocalReminderDriveMissing = "localReminderDriveMissing";
inline constexpr const char* kBackupStaleReminderDays = "backupStaleReminderDays";
inline constexpr const char* kAllowLocalBackupTestDestination = "allowLocalBackupTestDestination";
inline constexpr const char* kSelectedPhotosLibraryPath = "selectedPhotosLibraryPath";

}  // namespace tallowmere::SettingsKeys
