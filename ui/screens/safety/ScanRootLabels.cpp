#include "ui/screens/safety/ScanRootLabels.h"

#include <set>

#include "app/PathText.h"

namespace tallowmere::ScanRootLabels {
namespace {

constexpr std::string_view kCloudDocs = "/Library/Mobile Documents/com~apple~CloudDocs";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string displayName(const ICloudScanRoot& root, const std::string& homeDirectoryPath) {
    const std::string rootPath = PathText::standardized(root.path);
    const std::string homePath = PathText::standardized(homeDirectoryPath);
    const bool synced = rootPath.find(kCloudDocs) != std::string::npos;
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
            break;
    }
    return root.displayName;
}

std::string detailLabel(const ICloudScanRoot& root, const std::string& homeDirectoryPath) {
    const std::string name = displayName(root, homeDirectoryPath);
    if (startsWith(name, "iCloud"))
        return "Synced by iCloud";
    if (startsWith(name, "Local"))
        return "Local folder";
    return std::string(tallowmere::displayName(root.kind));
}

std::vector<ICloudScanRoot> deduplicated(const std::vector<ICloudScanRoot>& roots) {
    std::set<std::string> seen;
    std::vector<ICloudScanRoot> kept;
    for (const ICloudScanRoot& root : roots) {
        if (seen.insert(PathText::standardized(root.path)).second)
            kept.push_back(root);
    }
    return kept;
}

}  // namespace tallowmere::ScanRootLabels
