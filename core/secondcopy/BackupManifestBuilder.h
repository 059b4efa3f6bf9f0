#pragma once

#include <string>
#include <vector>

#include "core/icloud/ICloudFileScanResult.h"
#include "core/icloud/ICloudScanRoot.h"
#include "core/secondcopy/BackupManifestItem.h"

namespace tallowmere {

// Whether one scanned item may be copied, and the message the manifest item carries.
struct BackupEligibility {
    bool isEligible = false;
    std::string message;

    bool operator==(const BackupEligibility&) const = default;
};

// Builds a backup job's manifest from a scan's results: one item per result, saying whether
// it may be copied and exactly where its copy goes inside the backup folder. Total and pure:
// it never touches the file system and may run on any thread.
//
// Layout below the backup folder: "iCloud Drive" for the iCloud Drive root, "iCloud
// Drive/Desktop" and "iCloud Drive/Documents", "iCloud Drive/Added Folders/<name>-<8 id
// characters>" for added folders and "iCloud Drive/Added Folders/Unknown" for results whose
// root cannot be found. Path components are sanitized: "/", ":" and control characters each
// become "-", white space is trimmed and an empty component becomes "Untitled".
namespace BackupManifestBuilder {

// One item per result, in the order of `fileResults`; nothing is dropped or merged, so two
// results may share a destination path (the copy then meets the first as an existing
// file). A result's root is the root with its root id, else the root with the longest path
// that is a textual prefix of its path.
std::vector<BackupManifestItem> makeItems(const Uuid& jobID,
                                          const std::vector<ICloudFileScanResult>& fileResults,
                                          const std::vector<ICloudScanRoot>& roots,
                                          const std::string& backupRootPath, Date now);

// Folders are never items of their own; only local current and downloaded files are
// eligible.
BackupEligibility eligibility(const ICloudFileScanResult& result);

// The folder, relative to the backup folder, that holds the copies of one root.
std::string destinationSubpath(const ICloudScanRoot& root);

}  // namespace BackupManifestBuilder

}  // namespace tallowmere
