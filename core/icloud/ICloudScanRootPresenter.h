#pragma once

#include <string>
#include <vector>

#include "core/icloud/ICloudScanRoot.h"

// The labels the iCloud Drive screen shows for a scan root, and the list without roots that
// name the same folder twice. Pure functions.
namespace tallowmere::ICloudScanRootPresenter {

// "iCloud Drive" for the iCloud Drive folder; "iCloud Desktop"/"iCloud Documents" inside it,
// "Local Desktop"/"Local Documents" for the home folder's own, else "Desktop"/"Documents";
// an added folder's stored name.
std::string displayName(const ICloudScanRoot& root, const std::string& homeDirectoryPath);

// Follows the display name: "Synced by iCloud" when it begins with "iCloud", "Local folder"
// when it begins with "Local", otherwise the kind's name ("Added folder" for added roots).
std::string detailLabel(const ICloudScanRoot& root, const std::string& homeDirectoryPath);

// The roots in the given order, each standardized path only once (the first root wins).
std::vector<ICloudScanRoot> deduplicated(const std::vector<ICloudScanRoot>& roots);

}  // namespace tallowmere::ICloudScanRootPresenter
