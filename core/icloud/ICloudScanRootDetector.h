#pragma once

#include <vector>

#include "core/icloud/ICloudScanRoot.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"

// Finds the default scan roots in the user's home folder: the iCloud Drive folder and the
// Desktop and Documents folders when iCloud syncs them. Only asks the file system whether
// things exist and reads their values; never changes anything. Safe to call from any thread.
namespace tallowmere::ICloudScanRootDetector {

// Examines, in this order, and keeps those that exist (and whose standardized path was not
// taken by an earlier one):
//   1. ~/Library/Mobile Documents/com~apple~CloudDocs          "iCloud Drive"  iCloudDrive
//   2. that folder's Desktop                                    "Desktop"       desktop
//   3. that folder's Documents                                  "Documents"     documents
//   4. ~/Desktop, only when it is a ubiquitous item             "Desktop"       desktop
//   5. ~/Documents, only when it is a ubiquitous item           "Documents"     documents
// Each root is new (random id, created now), detected and selected, without bookmark.
// Never fails: an unknown home folder, a missing folder or values that cannot be read
// simply give no root. On a machine without iCloud Drive the list is usually empty.
std::vector<ICloudScanRoot> detectDefaultRoots(const FileSystem& fileSystem, const Clock& clock);

}  // namespace tallowmere::ICloudScanRootDetector
