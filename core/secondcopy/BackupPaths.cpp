#include "core/secondcopy/BackupPaths.h"

#include "core/platform/PathText.h"

namespace tallowmere::BackupPaths {

std::optional<std::string> preparedBackupFolder(
    const std::optional<std::string>& manifestJSONPath) {
    if (!manifestJSONPath || manifestJSONPath->empty())
        return std::nullopt;
    const std::string manifestFolder = path_text::parent(*manifestJSONPath);
    if (path_text::lastComponent(manifestFolder) != kManifestFolderName)
        return std::nullopt;
    return path_text::parent(manifestFolder);
}

std::optional<std::string> currentDestination(const std::string& preparedPath,
                                              const std::optional<std::string>& preparedFolder,
                                              const std::string& currentBackupFolder) {
    const std::string current = path_text::standardized(currentBackupFolder);
    std::string path = path_text::standardized(preparedPath);
    if (preparedFolder) {
        const std::string prepared = path_text::standardized(*preparedFolder);
        if (prepared != current && path_text::isWithin(path, prepared))
            path = prepared == "/" ? current + path : current + path.substr(prepared.size());
    }
    if (path == current || !path_text::isWithin(path, current))
        return std::nullopt;
    return path;
}

}  // namespace tallowmere::BackupPaths
