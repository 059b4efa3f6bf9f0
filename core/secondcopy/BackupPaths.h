#pragma once

#include <optional>
#include <string>

// Where a job's copies lie when the destination drive is mounted somewhere else than when the
// job was prepared: the manifest keeps the paths of prepare, the bookmark finds the drive's
// current place. Pure; callable from any thread.
namespace tallowmere::BackupPaths {

inline constexpr const char* kManifestFolderName = "Manifest";

// The backup folder a job was prepared into, from the path of its preview file
// (<backup folder>/Manifest/<file>); none without one of that shape.
std::optional<std::string> preparedBackupFolder(const std::optional<std::string>& manifestJSONPath);

// Where the copy prepared at `preparedPath` lies now that the backup folder is at
// `currentBackupFolder`: the same place below it. None when the result is not strictly
// inside the current backup folder, where nothing may be read or written as a copy.
std::optional<std::string> currentDestination(const std::string& preparedPath,
                                              const std::optional<std::string>& preparedFolder,
                                              const std::string& currentBackupFolder);

}  // namespace tallowmere::BackupPaths
