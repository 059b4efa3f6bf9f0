#include "core/icloud/ICloudScanRootPresenter.h"

#include <set>
#include <string_view>

#include "core/platform/PathStandardizing.h"

namespace tallowmere::ICloudScanRootPresenter {
namespace {

constexpr std::string_view kCloudDocsPart = "/Library/Mobile Documents/com~apple~CloudDocs";

bool beginsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string displayName(const ICloudScanRoot& root, const std::string& homeDirectoryPath) {
    const std::string rootPath = PathStandardizing::standardizedPath(root.path);
    const std::string homePath = PathStandardizing::standardizedPath(homeDirectoryPath);
    const bool synced = rootPath.find(kCloudDocsPart) != std::string::npos;
    switch (root.kind) {
        case ICloudScanRootKind::iCloudDrive:
            return "iCloud Drive";
        case ICloudScanRootKind::desktop:
            if (synced)
                return "iCloud Desktop";
            return rootPath == homePath + "/Desktop" ? "Local Desktop" : "Desktop";
        case ICloudScanRootKind::documents:
            if (synced)
                return "iCloud Documents";
            return rootPath == homePath + "/Documents" ? "Local Documents" : "Documents";
        case ICloudScanRootKind::userSelected:
            return root.displayName;
    }
    return root.displayName;
}

std::string detailLabel(const ICloudScanRoot& root, const std::string& homeDirectoryPath) {
    const std::string name = displayName(root, homeDirectoryPath);
    if (beginsWith(name, "iCloud"))
        return "Synced by iCloud";
    if (beginsWith(name, "Local"))
        return "Local folder";
    switch (root.kind) {
        case ICloudScanRootKind::desktop:
            return "Desktop";
        case ICloudScanRootKind::documents:
            return "Documents";
        case ICloudScanRootKind::userSelected:
            return "Added folder";
        case ICloudScanRootKind::iCloudDrive:
            return "iCloud Drive";
    }
    return "Added folder";
}

std::vector<ICloudScanRoot> deduplicated(const std::vector<ICloudScanRoot>& roots) {
    std::set<std::string> seen;
    std::vector<ICloudScanRoot> kept;
    for (const ICloudScanRoot& root : roots) {
        if (seen.insert(PathStandardizing::standardizedPath(root.path)).second)
            kept.push_back(root);
    }
    return kept;
}

}  // namespace tallowmere::ICloudScanRootPresenter
