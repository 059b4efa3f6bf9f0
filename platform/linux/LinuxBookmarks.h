#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Bookmarks.h"
#include "platform/linux/LinuxVolumes.h"

namespace tallowmere {

namespace linux_fs {

// What a bookmark records of a folder. The file system is named by its UUID where udev
// knows one, else by its type and mount source (network shares, tmpfs); the folder by its
// path inside that file system.
struct BookmarkRecord {
    // The canonical path when the bookmark was made.
    std::string path;
    std::string fileSystemUUID;
    std::string fileSystemType;
    std::string fileSystemSource;
    // Below the file system's own root, "/"-separated and starting with "/".
    std::string pathInFileSystem;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const BookmarkRecord&) const = default;
};

// A small self-describing text of length-prefixed fields, so that any byte of a path
// survives.
Bytes encodeBookmark(const BookmarkRecord& record);
// No value for bytes that are not such a text, truncated ones included.
std::optional<BookmarkRecord> decodeBookmark(const Bytes& bytes);

}  // namespace linux_fs

// Bookmarks that find a folder by the file system it lives on. Resolution looks for that
// file system among the current mounts (by UUID, or by type and source) and joins the
// folder's path inside it to the mount point it has now; the folder must be a directory on
// that very mount. So a drive mounted elsewhere still resolves, and a drive that is not
// mounted is not found even when an (empty) folder sits at the old path on another disk.
// A file system named only by type and source must hold the recorded folder itself (same
// inode); without any file-system identity the recorded folder (device and inode) must be
// at the recorded path. Scoped access does not exist on Linux: starting it returns false.
//
// Thread safety: holds only constant configuration; every operation may run concurrently.
class LinuxBookmarks final : public Bookmarks {
public:
    LinuxBookmarks() = default;
    // Where mounts, block devices and UUID links are read; tests point these at fixtures.
    explicit LinuxBookmarks(linux_fs::SystemPaths paths) : m_paths(std::move(paths)) {}

    FileResult<Bytes> create(const std::string& path) const override;
    FileResult<ResolvedBookmark> resolve(const Bytes& bookmark) const override;
    bool startAccessing(const std::string&) override { return false; }
    void stopAccessing(const std::string&) override {}

private:
    // Constant after construction.
    const linux_fs::SystemPaths m_paths;
};

}  // namespace tallowmere
