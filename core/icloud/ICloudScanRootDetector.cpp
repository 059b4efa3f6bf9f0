#include "core/icloud/ICloudScanRootDetector.h"

#include <set>
#include <string>

#include "core/platform/PathStandardizing.h"

namespace tallowmere::ICloudScanRootDetector {
namespace {

struct Candidate {
    std::string path;
    const char* displayName;
    ICloudScanRootKind kind;
    // Added only when the folder reports itself as managed by iCloud.
    bool mustBeUbiquitous;
};

bool isUbiquitous(const FileSystem& fileSystem, const std::string& path) {
    const auto values = fileSystem.resourceValues(path);
    return values.ok() && values->isUbiquitousItem == true;
}

}  // namespace

std::vector<ICloudScanRoot> detectDefaultRoots(const FileSystem& fileSystem, const Clock& clock) {
    const auto home = fileSystem.homeDirectory();
    if (!home.ok())
        return {};
    const std::string cloudDocs = *home + "/Library/Mobile Documents/com~apple~CloudDocs";
    const Candidate candidates[] = {
        {cloudDocs, "iCloud Drive", ICloudScanRootKind::iCloudDrive, false},
        {cloudDocs + "/Desktop", "Desktop", ICloudScanRootKind::desktop, false},
        {cloudDocs + "/Documents", "Documents", ICloudScanRootKind::documents, false},
        {*home + "/Desktop", "Desktop", ICloudScanRootKind::desktop, true},
        {*home + "/Documents", "Documents", ICloudScanRootKind::documents, true},
    };

    const Date now = clock.now();
    std::set<std::string> taken;
    std::vector<ICloudScanRoot> roots;
    for (const Candidate& candidate : candidates) {
        const std::string path = PathStandardizing::standardizedPath(candidate.path);
        if (!fileSystem.exists(path) || taken.count(path) != 0)
            continue;
        if (candidate.mustBeUbiquitous && !isUbiquitous(fileSystem, path))
            continue;
        taken.insert(path);
        roots.push_back(ICloudScanRoot{
            .id = Uuid::random(),
            .path = path,
            .displayName = candidate.displayName,
            .kind = candidate.kind,
            .isDetected = true,
            .isSelected = true,
            .bookmarkData = std::nullopt,
            .createdAt = now,
            .lastScannedAt = std::nullopt,
        });
    }
    return roots;
}

}  // namespace tallowmere::ICloudScanRootDetector
