#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/FileSystem.h"
#include "platform/linux/LinuxVolumes.h"

namespace tallowmere {

// The file system of this machine, through the kernel's own calls: one statx per item that
// never follows links, an openat/getdents64 walker, copy_file_range copies published with a
// no-replace rename.
//
// How the synced-item values are answered: an item on a FUSE or network file system (NFS,
// SMB/CIFS, 9P, Ceph, AFS) is a ubiquitous item; a regular file there whose size is above
// zero but which has no block allocated is a placeholder whose data is elsewhere
// (notDownloaded), any other regular file there is downloaded. On a local file system the
// ubiquitous value is absent and regular files are current. The transfer flags are absent;
// excluded-from-sync and the transfer errors are false/absent.
//
// Thread safety: holds only constant configuration, so every operation may run concurrently
// from any thread.
class LinuxFileSystem final : public FileSystem {
public:
    struct Options {
        // Reads one environment variable (absent when unset); the process environment by
        // default.
        std::function<std::optional<std::string>(const char* name)> environment;
        linux_fs::SystemPaths systemPaths;
        // Folder descriptors one enumeration may hold at once.
        std::size_t maxOpenFolders = 128;
    };

    LinuxFileSystem();
    explicit LinuxFileSystem(Options options);

    FileResult<std::string> homeDirectory() const override;
    FileResult<std::string> applicationSupportDirectory() const override;
    // XDG_PICTURES_DIR from user-dirs.dirs in $XDG_CONFIG_HOME (or ~/.config), else ~/Pictures.
    FileResult<std::string> picturesDirectory() const override;

    bool exists(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    bool isReadable(const std::string& path) const override;
    bool isWritable(const std::string& path) const override;

    FileResult<ResourceValues> resourceValues(const std::string& path) const override;
    std::error_code enumerate(const std::string& root, const DirectoryVisitor& visitor,
                              const EnumerationErrorHandler& onError) const override;

    FileResult<VolumeValues> volumeValues(const std::string& path) const override;
    FileResult<std::int64_t> freeSpace(const std::string& path) const override;

    FileResult<std::unique_ptr<FileReader>> openForReading(const std::string& path) const override;

    std::error_code createDirectory(const std::string& path) override;
    std::error_code createDirectoryBelow(const std::string& existingFolder,
                                         const std::string& path) override;
    std::error_code copyFile(const std::string& source, const std::string& destination) override;
    FileResult<std::string> copyToTemporaryFile(const std::string& source,
                                                const std::string& destination) override;
    std::error_code publishTemporaryFile(const std::string& temporary,
                                         const std::string& destination) override;
    std::error_code remove(const std::string& path) override;
    std::error_code setModificationDate(const std::string& path, Date date) override;
    std::error_code writeFileAtomically(const std::string& path,
                                        std::span<const std::uint8_t> contents) override;
    std::error_code synchronize(const std::string& path) override;

private:
    std::optional<std::string> environmentValue(const char* name) const;

    // Constant after construction.
    const Options m_options;
};

namespace linux_fs {

// A folder with one of the fixed bundle extensions (".app", ".photoslibrary", ...), in any
// letter case; a name that is only the extension (".app") has none.
bool isPackageName(std::string_view name);

// statfs magic numbers of file systems whose files may live elsewhere: FUSE, NFS, SMB,
// CIFS, SMB2, 9P, Ceph, AFS.
bool isSyncedFileSystemType(long type);

// The resource values of one item from its statx record.
ResourceValues resourceValuesFrom(const struct statx& record, std::string name,
                                  bool onSyncedFileSystem);

// The folder assigned to `key` by one line of user-dirs.dirs (`KEY="$HOME/Name"` or
// `KEY="/absolute/path"`, backslash escapes allowed), with $HOME replaced by `home`. None for
// a line that assigns something else or that the format does not allow.
std::optional<std::string> userDirectoryValue(std::string_view line, std::string_view key,
                                              const std::string& home);

// Gives the finished file `temporary` in the folder the name `name`, unless something (a
// link included) already has that name: file_exists then, and both stay as they were. With
// AT_FDCWD as the folder both may be whole paths into one folder.
std::error_code publishWithoutReplacing(int folderFd, const std::string& temporary,
                                        const std::string& name);

}  // namespace linux_fs

}  // namespace tallowmere
