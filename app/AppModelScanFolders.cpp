#include "app/AppModel.h"
#include "app/SettingsKeys.h"
#include "core/platform/PathStandardizing.h"

namespace tallowmere {

// Event messages name a folder only by a label of the program's own: the user's folder
// and library names stay out of the stored timeline, as paths do.

void AppModel::addScanRoot(const std::string& folderPath) {
    const std::string path = PathStandardizing::standardizedPath(folderPath);
    const std::string name = PathStandardizing::lastPathComponent(path);
    // A folder whose bookmark cannot be made is still added; it is then read by its path.
    std::optional<Bytes> bookmark;
    if (auto created = m_environment.bookmarks->create(path))
        bookmark = std::move(*created);
    try {
        m_iCloudScanRepository->addUserRoot(path, name, bookmark);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not add that folder.");
        return;
    }
    refreshFromStore();
    setStatusMessage("Added " + name + " to scan roots.");
    recordEvent(ActivityEventKind::iCloudScan, "Scan folder added",
                "Added a folder to the read-only scan list.", SafetyState::needsAttention,
                AppSection::iCloudDriveSafety);
}

void AppModel::removeScanRoot(const ICloudScanRoot& rootToRemove) {
    // The caller may pass an element of iCloudScanRoots, which the refresh replaces.
    const ICloudScanRoot root = rootToRemove;
    try {
        m_iCloudScanRepository->deselectRoot(root.id);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not remove that scan root.");
        return;
    }
    refreshFromStore();
    setStatusMessage("Removed " + root.displayName + " from scan roots. Files were not modified.");
    const std::string label = root.isDetected ? root.displayName : "a folder";
    recordEvent(ActivityEventKind::iCloudScan, "Scan folder removed",
                "Removed " + label + " from the scan list. Files were not modified.",
                SafetyState::unknown, AppSection::iCloudDriveSafety);
}

void AppModel::selectPhotosLibrary(const std::string& libraryPath) {
    const std::string path = PathStandardizing::standardizedPath(libraryPath);
    publish(m_selectedPhotosLibraryPath, std::optional(path),
            &AppModel::selectedPhotosLibraryPathChanged);
    try {
        m_settingsRepository->setString(path, SettingsKeys::kSelectedPhotosLibraryPath);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not select that Photos library.");
        return;
    }
    setStatusMessage("Selected " + PathStandardizing::lastPathComponent(path) +
                     " for Photos safety scans.");
    recordEvent(ActivityEventKind::photosScan, "Photos library selected",
                "Selected a Photos library for Photos safety scans.", SafetyState::needsAttention,
                AppSection::photosSafety);
}

}  // namespace tallowmere
