#include "platform/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <unordered_map>
#include <vector>

#include "core/platform/PathText.h"
#include "core/platform/Uuid.h"
#include "platform/linux/DirectoryWalker.h"
#include "platform/linux/UniqueFd.h"

namespace tallowmere {

using linux_fs::UniqueFd;

namespace {

constexpr unsigned kStatxMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_BLOCKS;
constexpr std::size_t kCopyChunk = 1 << 20;
constexpr off_t kEarlyWritebackBytes = off_t{4} << 20;

std::error_code errorOf(int error) {
    return {error, std::generic_category()};
}
std::error_code lastError() {
    return errorOf(errno);
}

std::string trimTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

struct SplitPath {
    std::string folder;
    std::string name;
};

// "/a/b" -> {"/a", "b"}; "/a" -> {"/", "a"}; "a" -> {".", "a"}.
SplitPath splitPath(const std::string& rawPath) {
    const std::string path = trimTrailingSlashes(rawPath);
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {".", path};
    if (slash == 0)
        return {"/", path.substr(1)};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

bool isUsableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name != "/";
}

std::optional<bool> onSyncedFileSystem(int folderFd, const char* name) {
    UniqueFd fd(::openat(folderFd, name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct statfs record {};
    if (!fd || ::fstatfs(fd.get(), &record) != 0)
        return std::nullopt;
    return linux_fs::isSyncedFileSystemType(static_cast<long>(record.f_type));
}

// Opening an original for reading must not even change its access time where the kernel
// lets us say so (it does for the file's owner and for root).
int openForReadingNoAtime(const char* path, int flags) {
    const int fd = ::open(path, flags | O_NOATIME);
    if (fd >= 0 || errno != EPERM)
        return fd;
    return ::open(path, flags);
}

// A new, empty file named kPartialFilePrefix + a random suffix in the folder; `name` is
// given that name, after `prefix` (a folder path ending in "/" when `folderFd` is AT_FDCWD).
UniqueFd createPartialFile(int folderFd, std::string& name, mode_t mode, std::error_code& error,
                           const std::string& prefix = {}) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = prefix + std::string(FileSystem::kPartialFilePrefix) + Uuid::random().toString();
        UniqueFd fd(
            ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd)
            return fd;
        if (errno != EEXIST) {
            error = lastError();
            return {};
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

std::error_code writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

std::error_code copyData(int in, int out, off_t expectedSize) {
    bool useRange = true;
    bool copiedAny = false;
    std::vector<std::uint8_t> buffer;
    for (;;) {
        if (useRange) {
            const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, kCopyChunk * 64, 0);
            if (copied > 0) {
                copiedAny = true;
                continue;
            }
            if (copied == 0) {
                // Some file systems answer 0 instead of an error for files they cannot
                // copy in the kernel; a plain read tells the truth.
                if (!copiedAny && expectedSize > 0) {
                    useRange = false;
                    continue;
                }
                return {};
            }
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                errno == EBADF) {
                // Not offered between these two file systems: go on with read and write,
                // from where the file offsets stand.
                useRange = false;
                continue;
            }
            return lastError();
        }
        if (buffer.empty())
            buffer.resize(kCopyChunk);
        const ssize_t count = ::read(in, buffer.data(), buffer.size());
        if (count == 0)
            return {};
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (const auto ec = writeAll(out, buffer.data(), static_cast<std::size_t>(count)))
            return ec;
    }
}

class LinuxFileReader final : public FileReader {
public:
    explicit LinuxFileReader(UniqueFd fd) : m_fd(std::move(fd)) {}

    FileResult<std::size_t> read(std::span<std::uint8_t> buffer) override {
        for (;;) {
            const ssize_t count = ::read(m_fd.get(), buffer.data(), buffer.size());
            if (count >= 0)
                return static_cast<std::size_t>(count);
            if (errno != EINTR)
                return lastError();
        }
    }

private:
    UniqueFd m_fd;
};

}  // namespace

namespace linux_fs {

bool isPackageName(std::string_view name) {
    static constexpr std::array<std::string_view, 17> kExtensions{
        "app",         "bundle",     "framework", "plugin",        "kext",         "photoslibrary",
        "rtfd",        "pages",      "numbers",   "key",           "sparsebundle", "xcodeproj",
        "xcworkspace", "playground", "fcpbundle", "imovielibrary", "logicx"};
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

bool isSyncedFileSystemType(long type) {
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFul) {
        case FUSE_SUPER_MAGIC:
        case NFS_SUPER_MAGIC:
        case SMB_SUPER_MAGIC:
        case CIFS_SUPER_MAGIC:
        case SMB2_SUPER_MAGIC:
        case V9FS_MAGIC:
        case CEPH_SUPER_MAGIC:
        case AFS_SUPER_MAGIC:
        case AFS_FS_MAGIC:
            return true;
        default:
            return false;
    }
}

std::optional<std::string> userDirectoryValue(std::string_view line, std::string_view key,
                                              const std::string& home) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t';
    };
    std::size_t at = 0;
    while (at < line.size() && isBlank(line[at])) ++at;
    if (line.substr(at, key.size()) != key)
        return std::nullopt;
    at += key.size();
    if (at >= line.size() || line[at] != '=')
        return std::nullopt;
    ++at;
    if (at >= line.size() || line[at] != '"')
        return std::nullopt;
    ++at;
    std::string value;
    bool closed = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '\\' && at + 1 < line.size()) {
            value.push_back(line[++at]);
        } else if (c == '"') {
            closed = true;
            break;
        } else {
            value.push_back(c);
        }
    }
    if (!closed)
        return std::nullopt;
    // The format allows only "$HOME/..." and absolute paths.
    const std::string_view homeVariable = "$HOME";
    if (value.compare(0, homeVariable.size(), homeVariable) == 0 &&
        (value.size() == homeVariable.size() || value[homeVariable.size()] == '/')) {
        std::string rest = value.substr(homeVariable.size());
        while (!rest.empty() && rest.front() == '/') rest.erase(rest.begin());
        if (rest.empty())
            return home;
        return (home == "/" ? std::string() : home) + "/" + rest;
    }
    if (!value.empty() && value.front() == '/')
        return value;
    return std::nullopt;
}

std::error_code publishWithoutReplacing(int folderFd, const std::string& temporary,
                                        const std::string& name) {
    if (::renameat2(folderFd, temporary.c_str(), folderFd, name.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    int error = errno;
    if (error == EEXIST)
        return std::make_error_code(std::errc::file_exists);
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return errorOf(error);

    // The file system does not offer a no-replace rename (some network and FUSE file
    // systems): a hard link fails on an existing name just the same.
    if (::linkat(folderFd, temporary.c_str(), folderFd, name.c_str(), 0) == 0) {
        ::unlinkat(folderFd, temporary.c_str(), 0);
        return {};
    }
    error = errno;
    if (error == EEXIST)
        return std::make_error_code(std::errc::file_exists);
    if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS)
        return errorOf(error);

    // Neither is offered (FAT and exFAT drives): look, then rename. Only an item created in
    // the instant between the two could be replaced; this is the narrowest window such a
    // file system allows.
    struct stat existing {};
    if (::fstatat(folderFd, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    if (::renameat(folderFd, temporary.c_str(), folderFd, name.c_str()) != 0)
        return lastError();
    return {};
}

ResourceValues resourceValuesFrom(const struct statx& record, std::string name,
                                  bool onSyncedFileSystem) {
    ResourceValues values;
    values.name = std::move(name);
    const mode_t mode = record.stx_mode;
    values.isDirectory = S_ISDIR(mode);
    values.isRegularFile = S_ISREG(mode);
    values.isSymbolicLink = S_ISLNK(mode);
    values.isHidden = !values.name.empty() && values.name.front() == '.';
    values.isPackage = values.isDirectory && isPackageName(values.name);
    if (!values.isDirectory && (record.stx_mask & STATX_SIZE)) {
        values.fileSize = static_cast<std::int64_t>(record.stx_size);
    }
    if (record.stx_mask & STATX_MTIME) {
        values.contentModificationDate =
            Date(static_cast<double>(record.stx_mtime.tv_sec) + record.stx_mtime.tv_nsec / 1e9);
    }
    if (record.stx_mask & STATX_BLOCKS) {
        // statx counts 512-byte units whatever the file system's block size.
        values.allocatedSize = static_cast<std::int64_t>(record.stx_blocks) * 512;
    }
    if (onSyncedFileSystem)
        values.isUbiquitousItem = true;
    if (values.isRegularFile) {
        if (!onSyncedFileSystem) {
            values.downloadingStatus = DownloadingStatus::current();
        } else if (record.stx_mask & STATX_BLOCKS) {
            // A placeholder of a sync client has its size but no data on this machine.
            const bool placeholder = record.stx_size > 0 && record.stx_blocks == 0;
            values.downloadingStatus =
                placeholder ? DownloadingStatus::notDownloaded() : DownloadingStatus::downloaded();
        }
    }
    return values;
}

}  // namespace linux_fs

LinuxFileSystem::LinuxFileSystem() : LinuxFileSystem(Options{}) {}

LinuxFileSystem::LinuxFileSystem(Options options) : m_options(std::move(options)) {}

std::optional<std::string> LinuxFileSystem::environmentValue(const char* name) const {
    if (m_options.environment)
        return m_options.environment(name);
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

FileResult<std::string> LinuxFileSystem::homeDirectory() const {
    if (auto home = environmentValue("HOME"); home && !home->empty()) {
        return trimTrailingSlashes(std::move(*home));
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    struct passwd entry {};
    struct passwd* found = nullptr;
    const int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
    if (found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
        return trimTrailingSlashes(found->pw_dir);
    }
    return error != 0 ? errorOf(error) : std::make_error_code(std::errc::no_such_file_or_directory);
}

FileResult<std::string> LinuxFileSystem::applicationSupportDirectory() const {
    // A relative value is invalid by the base-directory rules and is ignored.
    if (auto data = environmentValue("XDG_DATA_HOME");
        data && !data->empty() && data->front() == '/') {
        return trimTrailingSlashes(std::move(*data));
    }
    auto home = homeDirectory();
    if (!home)
        return home.error();
    return (*home == "/" ? std::string() : *home) + "/.local/share";
}

FileResult<std::string> LinuxFileSystem::picturesDirectory() const {
    auto home = homeDirectory();
    if (!home)
        return home.error();
    std::string configHome;
    if (auto config = environmentValue("XDG_CONFIG_HOME");
        config && !config->empty() && config->front() == '/') {
        configHome = trimTrailingSlashes(std::move(*config));
    } else {
        configHome = (*home == "/" ? std::string() : *home) + "/.config";
    }
    std::ifstream file(configHome + "/user-dirs.dirs");
    std::string line;
    std::optional<std::string> pictures;
    while (std::getline(file, line)) {
        // The last assignment wins, as when the file is sourced by a shell.
        if (auto value = linux_fs::userDirectoryValue(line, "XDG_PICTURES_DIR", *home))
            pictures = std::move(value);
    }
    if (pictures)
        return trimTrailingSlashes(std::move(*pictures));
    return (*home == "/" ? std::string() : *home) + "/Pictures";
}

bool LinuxFileSystem::exists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool LinuxFileSystem::isDirectory(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LinuxFileSystem::isReadable(const std::string& path) const {
    return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
}

bool LinuxFileSystem::isWritable(const std::string& path) const {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

FileResult<ResourceValues> LinuxFileSystem::resourceValues(const std::string& rawPath) const {
    const std::string path = trimTrailingSlashes(rawPath);
    struct statx record {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, kStatxMask, &record) != 0) {
        return lastError();
    }
    const SplitPath split = splitPath(path);
    const bool synced = onSyncedFileSystem(AT_FDCWD, path.c_str()).value_or(false);
    return linux_fs::resourceValuesFrom(record, split.name.empty() ? path : split.name, synced);
}

std::error_code LinuxFileSystem::enumerate(const std::string& rawRoot,
                                           const DirectoryVisitor& visitor,
                                           const EnumerationErrorHandler& onError) const {
    const std::string root = trimTrailingSlashes(rawRoot);
    UniqueFd rootFd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!rootFd)
        return lastError();

    // One statfs per device, not per entry.
    std::unordered_map<dev_t, bool> syncedByDevice;
    linux_fs::WalkCallbacks callbacks;
    callbacks.entry = [&](int folderFd, const std::string& name, const std::string& path,
                          int depth) {
        struct statx record {};
        if (::statx(folderFd, name.c_str(), AT_SYMLINK_NOFOLLOW, kStatxMask, &record) != 0) {
            const int error = errno;
            // Removed since the folder was listed: as if listed a moment later.
            if (error == ENOENT)
                return WalkAction::skipDescendants;
            const WalkAction action =
                visitor(DirectoryEntry{path, depth, FileResult<ResourceValues>(errorOf(error))});
            return action == WalkAction::stop ? WalkAction::stop : WalkAction::skipDescendants;
        }
        const dev_t device = makedev(record.stx_dev_major, record.stx_dev_minor);
        bool synced = false;
        if (const auto known = syncedByDevice.find(device); known != syncedByDevice.end()) {
            synced = known->second;
        } else if (const auto answer = onSyncedFileSystem(folderFd, name.c_str())) {
            synced = *answer;
            syncedByDevice.emplace(device, synced);
        }
        const bool folder = S_ISDIR(record.stx_mode);
        const WalkAction action = visitor(
            DirectoryEntry{path, depth, linux_fs::resourceValuesFrom(record, name, synced)});
        if (action == WalkAction::descend && !folder)
            return WalkAction::skipDescendants;
        return action;
    };
    callbacks.error = [&](const std::string& path, std::error_code error) {
        if (onError)
            onError(path, error);
    };
    return linux_fs::walkFolder(std::move(rootFd), root, callbacks, m_options.maxOpenFolders);
}

FileResult<VolumeValues> LinuxFileSystem::volumeValues(const std::string& path) const {
    return linux_fs::volumeValuesOf(path, m_options.systemPaths);
}

FileResult<std::int64_t> LinuxFileSystem::freeSpace(const std::string& path) const {
    struct statvfs record {};
    if (::statvfs(path.c_str(), &record) != 0)
        return lastError();
    const unsigned long long blockSize = record.f_frsize;
    const unsigned long long blocks = record.f_bavail;
    constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    if (blockSize != 0 && blocks > kMax / blockSize)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(blocks * blockSize);
}

FileResult<std::unique_ptr<FileReader>> LinuxFileSystem::openForReading(
    const std::string& path) const {
    UniqueFd fd(openForReadingNoAtime(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return lastError();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return lastError();
    if (S_ISDIR(st.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<FileReader>(std::make_unique<LinuxFileReader>(std::move(fd)));
}

std::error_code LinuxFileSystem::createDirectory(const std::string& rawPath) {
    const std::string path = trimTrailingSlashes(rawPath);
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    // Each folder from the top down; existing ones (also links to folders) are fine.
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('/', end + 1);
        const std::string prefix = path.substr(0, end);
        if (prefix.empty() || prefix.back() == '/')
            continue;
        if (::mkdir(prefix.c_str(), 0777) == 0)
            continue;
        const int error = errno;
        struct stat st {};
        if (error == EEXIST || error == EISDIR || error == EROFS || error == EACCES) {
            if (::stat(prefix.c_str(), &st) == 0) {
                if (S_ISDIR(st.st_mode))
                    continue;
                return std::make_error_code(end == std::string::npos ? std::errc::file_exists
                                                                     : std::errc::not_a_directory);
            }
        }
        return errorOf(error);
    }
    return {};
}

std::error_code LinuxFileSystem::createDirectoryBelow(const std::string& existingFolder,
                                                      const std::string& path) {
    const std::string base = path_text::standardized(existingFolder);
    const std::string target = path_text::standardized(path);
    if (!path_text::isWithin(target, base))
        return std::make_error_code(std::errc::invalid_argument);
    UniqueFd folder(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return lastError();
    const auto baseParts = path_text::components(base);
    const auto targetParts = path_text::components(target);
    for (std::size_t i = baseParts.size(); i < targetParts.size(); ++i) {
        const char* name = targetParts[i].c_str();
        const bool last = i + 1 == targetParts.size();
        constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        // Mostly the folder is there already: one call then.
        UniqueFd next(::openat(folder.get(), name, kFlags));
        if (!next && errno == ENOENT) {
            if (::mkdirat(folder.get(), name, 0777) != 0 && errno != EEXIST)
                return lastError();
            next = UniqueFd(::openat(folder.get(), name, kFlags));
        }
        if (!next) {
            // A file, or a link that is not followed, where a folder should be.
            if (errno == ENOTDIR || errno == ELOOP) {
                return std::make_error_code(last ? std::errc::file_exists
                                                 : std::errc::not_a_directory);
            }
            return lastError();
        }
        folder = std::move(next);
    }
    return {};
}

namespace {

// A complete copy under a temporary name in the folder of its destination; both whole paths.
struct StagedCopy {
    std::string temporary;
    std::string destination;
};

// Works on whole paths rather than through a folder descriptor: two calls fewer per file,
// which counts when copying thousands of small files.
std::error_code stageCopy(const std::string& source, const std::string& rawDestination,
                          StagedCopy& staged) {
    UniqueFd in(openForReadingNoAtime(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in)
        return lastError();
    struct stat sourceStat {};
    if (::fstat(in.get(), &sourceStat) != 0)
        return lastError();
    if (S_ISDIR(sourceStat.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(sourceStat.st_mode))
        return std::make_error_code(std::errc::operation_not_supported);

    const std::string destination = trimTrailingSlashes(rawDestination);
    const SplitPath target = splitPath(destination);
    if (!isUsableName(target.name))
        return std::make_error_code(std::errc::invalid_argument);
    struct stat existing {};
    // Not the guarantee (publishing is), but it spares copying a file for nothing.
    if (::fstatat(AT_FDCWD, destination.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        return std::make_error_code(std::errc::file_exists);
    }

    std::string temporary;
    std::error_code error;
    // A missing folder shows here, as not found.
    UniqueFd out = createPartialFile(AT_FDCWD, temporary, 0600, error,
                                     target.folder == "/" ? "/" : target.folder + "/");
    if (!out)
        return error;
    const auto fail = [&](std::error_code cause) {
        ::unlink(temporary.c_str());
        return cause;
    };
    if (const auto ec = copyData(in.get(), out.get(), sourceStat.st_size))
        return fail(ec);
    // A large copy starts on its way to the disk at once, while the next files are copied,
    // so that the flush that makes a group of copies durable finds little left to write.
    // Small files are left to that flush, which writes them together.
    if (sourceStat.st_size >= kEarlyWritebackBytes)
        ::sync_file_range(out.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    // Failing to carry over the permission bits or the time leaves a good copy; FAT drives
    // refuse the former.
    ::fchmod(out.get(), sourceStat.st_mode & 0777);
    // Network file systems report write errors as late as close.
    if (::close(out.release()) != 0)
        return fail(lastError());
    // Set after close: a network file system may stamp its own time while flushing.
    const struct timespec times[2] = {{0, UTIME_OMIT}, sourceStat.st_mtim};
    ::utimensat(AT_FDCWD, temporary.c_str(), times, AT_SYMLINK_NOFOLLOW);
    staged = StagedCopy{std::move(temporary), destination};
    return {};
}

}  // namespace

std::error_code LinuxFileSystem::copyFile(const std::string& source,
                                          const std::string& destination) {
    StagedCopy staged;
    if (const auto ec = stageCopy(source, destination, staged))
        return ec;
    if (const auto ec =
            linux_fs::publishWithoutReplacing(AT_FDCWD, staged.temporary, staged.destination)) {
        ::unlink(staged.temporary.c_str());
        return ec;
    }
    return {};
}

FileResult<std::string> LinuxFileSystem::copyToTemporaryFile(const std::string& source,
                                                             const std::string& destination) {
    StagedCopy staged;
    if (const auto ec = stageCopy(source, destination, staged))
        return ec;
    return std::move(staged.temporary);
}

std::error_code LinuxFileSystem::publishTemporaryFile(const std::string& temporary,
                                                      const std::string& destination) {
    const SplitPath from = splitPath(temporary);
    const SplitPath to = splitPath(destination);
    if (!isUsableName(from.name) || !isUsableName(to.name) || from.folder != to.folder)
        return std::make_error_code(std::errc::invalid_argument);
    // Whole paths against no folder descriptor: one call instead of three.
    return linux_fs::publishWithoutReplacing(AT_FDCWD, trimTrailingSlashes(temporary),
                                             trimTrailingSlashes(destination));
}

std::error_code LinuxFileSystem::remove(const std::string& path) {
    const SplitPath target = splitPath(path);
    if (!isUsableName(target.name))
        return std::make_error_code(std::errc::invalid_argument);
    UniqueFd folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return lastError();
    if (::unlinkat(folder.get(), target.name.c_str(), 0) == 0)
        return {};
    if (errno != EISDIR)
        return lastError();

    UniqueFd top(::openat(folder.get(), target.name.c_str(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!top)
        return lastError();
    std::error_code first;
    const auto note = [&first](std::error_code ec) {
        if (ec && !first)
            first = ec;
    };
    linux_fs::WalkCallbacks callbacks;
    callbacks.entry = [&](int folderFd, const std::string& name, const std::string&, int) {
        if (::unlinkat(folderFd, name.c_str(), 0) == 0)
            return WalkAction::skipDescendants;
        if (errno == EISDIR)
            return WalkAction::descend;
        if (errno != ENOENT)
            note(lastError());
        return WalkAction::skipDescendants;
    };
    callbacks.leave = [&](int folderFd, const std::string& name, const std::string&) {
        if (::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
            note(lastError());
    };
    callbacks.error = [&](const std::string&, std::error_code ec) {
        note(ec);
    };
    note(linux_fs::walkFolder(std::move(top), trimTrailingSlashes(path), callbacks,
                              m_options.maxOpenFolders));
    if (::unlinkat(folder.get(), target.name.c_str(), AT_REMOVEDIR) != 0)
        note(lastError());
    return first;
}

std::error_code LinuxFileSystem::setModificationDate(const std::string& path, Date date) {
    const double seconds = date.secondsSince1970();
    double whole = std::floor(seconds);
    long nanoseconds = std::lround((seconds - whole) * 1e9);
    if (nanoseconds >= 1'000'000'000) {
        whole += 1;
        nanoseconds -= 1'000'000'000;
    }
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(whole), nanoseconds}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return lastError();
    return {};
}

std::error_code LinuxFileSystem::writeFileAtomically(const std::string& path,
                                                     std::span<const std::uint8_t> contents) {
    const SplitPath target = splitPath(path);
    if (!isUsableName(target.name))
        return std::make_error_code(std::errc::invalid_argument);
    UniqueFd folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return lastError();
    std::string temporary;
    std::error_code error;
    UniqueFd out = createPartialFile(folder.get(), temporary, 0666, error);
    if (!out)
        return error;
    const auto fail = [&](std::error_code cause) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        return cause;
    };
    if (const auto ec = writeAll(out.get(), contents.data(), contents.size()))
        return fail(ec);
    if (::fsync(out.get()) != 0)
        return fail(lastError());
    if (::close(out.release()) != 0)
        return fail(lastError());
    if (::renameat(folder.get(), temporary.c_str(), folder.get(), target.name.c_str()) != 0) {
        return fail(lastError());
    }
    // Makes the rename itself durable; some file systems cannot sync a folder, and the
    // file's data is safe either way.
    ::fsync(folder.get());
    return {};
}

std::error_code LinuxFileSystem::synchronize(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return lastError();
    if (::syncfs(fd.get()) != 0)
        return lastError();
    return {};
}

}  // namespace tallowmere
