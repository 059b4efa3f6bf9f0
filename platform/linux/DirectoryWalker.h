#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "core/platform/FileSystem.h"
#include "platform/linux/UniqueFd.h"

namespace tallowmere::linux_fs {

// What a walk does at each name. Every callback gets the open folder that holds the name,
// so that it can look at the entry with *at() calls that never follow a symbolic link.
struct WalkCallbacks {
    // One name in a folder: `path` is the walk's root path joined with the names down to
    // it, `depth` is 1 for the root's direct children. Answering descend walks into the
    // entry if it is (still) a folder; anything else is not entered.
    std::function<WalkAction(int folderFd, const std::string& name, const std::string& path,
                             int depth)>
        entry;
    // After a folder's contents were walked; `folderFd` is the folder that holds it. Not
    // called for the root. May be empty.
    std::function<void(int folderFd, const std::string& name, const std::string& path)> leave;
    // A folder below the root that could not be opened, listed or reopened.
    std::function<void(const std::string& path, std::error_code)> error;
};

// Reads the names in an open folder (without "." and ".."), sorted bytewise so that walks
// are repeatable. On a read error the names read so far are kept and the error returned.
std::error_code readFolderNames(int folderFd, std::vector<std::string>& names);

// Joins a folder path and a name with exactly one "/".
std::string joinPath(const std::string& folder, const std::string& name);

// Walks the tree below the open folder `root` depth first, each folder's entry before its
// contents, with an explicit stack so that depth never grows the call stack. At most
// `maxOpenFolders` folder descriptors are held at once: when a deeper folder needs one, the
// shallowest folder's descriptor is closed and later reopened name by name from the nearest
// open folder above it (never following a link, and checked to be the same folder), so
// trees deeper than the process's descriptor limit or the longest path the kernel accepts
// are walked completely.
// Returns the error of listing the root itself; everything below goes to the callbacks.
// Not thread-safe per call; separate calls share nothing.
std::error_code walkFolder(UniqueFd root, const std::string& rootPath,
                           const WalkCallbacks& callbacks, std::size_t maxOpenFolders);

}  // namespace tallowmere::linux_fs
