#include "platform/linux/LinuxBookmarks.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/platform/PathText.h"

namespace tallowmere {
namespace linux_fs {
namespace {

constexpr std::string_view kHeader = "tallowmere-bookmark 1\n";

std::error_code notFound() {
    return std::make_error_code(std::errc::no_such_file_or_directory);
}

std::optional<std::string> canonicalPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

void putField(std::string& out, std::string_view name, std::string_view value) {
    out += name;
    out += ' ';
    out += std::to_string(value.size());
    out += '\n';
    out += value;
    out += '\n';
}

// Reads "<name> <length>\n<bytes>\n" at `at`; no value when the text differs.
std::optional<std::string> takeField(std::string_view text, std::size_t& at,
                                     std::string_view name) {
    if (text.compare(at, name.size(), name) != 0 || at + name.size() >= text.size() ||
        text[at + name.size()] != ' ') {
        return std::nullopt;
    }
    std::size_t cursor = at + name.size() + 1;
    const std::size_t newline = text.find('\n', cursor);
    if (newline == std::string_view::npos)
        return std::nullopt;
    std::size_t length = 0;
    const auto digits = text.substr(cursor, newline - cursor);
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    if (digits.empty() || parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size())
        return std::nullopt;
    cursor = newline + 1;
    if (length > text.size() - cursor || cursor + length >= text.size() ||
        text[cursor + length] != '\n') {
        return std::nullopt;
    }
    at = cursor + length + 1;
    return std::string(text.substr(cursor, length));
}

std::optional<std::uint64_t> number(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    std::uint64_t value = 0;
    const auto parsed = std::from_chars(text->data(), text->data() + text->size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text->data() + text->size())
        return std::nullopt;
    return value;
}

// The device numbers of the kernel device `kernelName`, from the links in /sys/dev/block.
std::optional<std::pair<unsigned, unsigned>> numbersOf(const std::string& kernelName,
                                                       const std::string& sysDevBlock) {
    std::error_code ec;
    for (const auto& link : std::filesystem::directory_iterator(sysDevBlock, ec)) {
        const auto target = canonicalPath(link.path().string());
        if (!target || path_text::lastComponent(*target) != kernelName)
            continue;
        const std::string name = link.path().filename().string();
        const std::size_t colon = name.find(':');
        unsigned majorNumber = 0;
        unsigned minorNumber = 0;
        if (colon == std::string::npos ||
            std::from_chars(name.data(), name.data() + colon, majorNumber).ec != std::errc() ||
            std::from_chars(name.data() + colon + 1, name.data() + name.size(), minorNumber).ec !=
                std::errc()) {
            continue;
        }
        return std::make_pair(majorNumber, minorNumber);
    }
    return std::nullopt;
}

// The kernel name of a mount's source device ("/dev/disk/by-id/x" -> "sdb1"); empty for
// sources that are not devices.
std::string sourceKernelName(const std::string& source) {
    if (source.rfind("/dev/", 0) != 0)
        return {};
    return path_text::lastComponent(canonicalPath(source).value_or(source));
}

// `inner` (below the file system's root) as seen through a mount whose root is `root`.
std::optional<std::string> throughMount(const MountInfoEntry& mount, const std::string& inner) {
    if (!path_text::isWithin(inner, mount.root))
        return std::nullopt;
    const std::string root = path_text::standardized(mount.root);
    const std::string below = root == "/" ? inner : inner.substr(root.size());
    return path_text::standardized(path_text::appending(mount.mountPoint, below));
}

}  // namespace

Bytes encodeBookmark(const BookmarkRecord& record) {
    std::string text(kHeader);
    putField(text, "path", record.path);
    putField(text, "uuid", record.fileSystemUUID);
    putField(text, "type", record.fileSystemType);
    putField(text, "source", record.fileSystemSource);
    putField(text, "inner", record.pathInFileSystem);
    putField(text, "device", std::to_string(record.device));
    putField(text, "inode", std::to_string(record.inode));
    return Bytes(text.begin(), text.end());
}

std::optional<BookmarkRecord> decodeBookmark(const Bytes& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, kHeader.size()) != kHeader)
        return std::nullopt;
    std::size_t at = kHeader.size();
    BookmarkRecord record;
    auto path = takeField(text, at, "path");
    auto uuid = path ? takeField(text, at, "uuid") : std::nullopt;
    auto type = uuid ? takeField(text, at, "type") : std::nullopt;
    auto source = type ? takeField(text, at, "source") : std::nullopt;
    auto inner = source ? takeField(text, at, "inner") : std::nullopt;
    const auto device = number(inner ? takeField(text, at, "device") : std::nullopt);
    const auto inode = number(device ? takeField(text, at, "inode") : std::nullopt);
    if (!inode || at != text.size() || path->empty() || path->front() != '/')
        return std::nullopt;
    record.path = std::move(*path);
    record.fileSystemUUID = std::move(*uuid);
    record.fileSystemType = std::move(*type);
    record.fileSystemSource = std::move(*source);
    record.pathInFileSystem = std::move(*inner);
    record.device = *device;
    record.inode = *inode;
    return record;
}

}  // namespace linux_fs

using linux_fs::BookmarkRecord;
using linux_fs::MountInfoEntry;

FileResult<Bytes> LinuxBookmarks::create(const std::string& path) const {
    const auto canonical = linux_fs::canonicalPath(path);
    if (!canonical)
        return std::error_code(errno, std::generic_category());
    struct stat st {};
    if (::stat(canonical->c_str(), &st) != 0)
        return std::error_code(errno, std::generic_category());

    BookmarkRecord record;
    record.path = *canonical;
    record.device = st.st_dev;
    record.inode = st.st_ino;
    std::optional<MountInfoEntry> mount;
    if (const auto mounts = linux_fs::readMountInfo(m_paths.mountInfo))
        mount = linux_fs::mountContaining(*canonical, st.st_dev, *mounts);
    if (mount) {
        const std::string below =
            mount->mountPoint == "/" ? *canonical : canonical->substr(mount->mountPoint.size());
        record.pathInFileSystem = path_text::standardized(path_text::appending(mount->root, below));
        record.fileSystemType = mount->fileSystemType;
        record.fileSystemSource = mount->source;
        std::optional<std::string> kernelName =
            linux_fs::kernelNameOf(linux_fs::blockDeviceOf(st.st_dev, mount), m_paths.sysDevBlock);
        if (!kernelName) {
            if (auto name = linux_fs::sourceKernelName(mount->source); !name.empty())
                kernelName = std::move(name);
        }
        if (kernelName) {
            if (auto uuid = linux_fs::linkNamePointingAt(*kernelName, m_paths.diskByUuid))
                record.fileSystemUUID = std::move(*uuid);
        }
    }
    return linux_fs::encodeBookmark(record);
}

FileResult<ResolvedBookmark> LinuxBookmarks::resolve(const Bytes& bookmark) const {
    const auto record = linux_fs::decodeBookmark(bookmark);
    if (!record)
        return std::make_error_code(std::errc::invalid_argument);

    const bool hasIdentity = !record->fileSystemUUID.empty() ||
                             (!record->fileSystemType.empty() && !record->pathInFileSystem.empty());
    if (!hasIdentity) {
        // Nothing names the file system: only the recorded folder itself will do.
        struct stat st {};
        if (::stat(record->path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
            st.st_dev == record->device && st.st_ino == record->inode) {
            return ResolvedBookmark{record->path, false};
        }
        return linux_fs::notFound();
    }

    const auto mounts = linux_fs::readMountInfo(m_paths.mountInfo);
    if (!mounts)
        return linux_fs::notFound();

    // Which current mounts show the bookmarked file system.
    std::function<bool(const MountInfoEntry&)> showsFileSystem;
    if (!record->fileSystemUUID.empty()) {
        std::error_code linkError;
        const auto target = std::filesystem::read_symlink(
            std::filesystem::path(m_paths.diskByUuid) / record->fileSystemUUID, linkError);
        // No such UUID now: the drive is not attached.
        if (linkError)
            return linux_fs::notFound();
        const std::string kernelName = target.filename().string();
        const auto numbers = linux_fs::numbersOf(kernelName, m_paths.sysDevBlock);
        showsFileSystem = [kernelName, numbers](const MountInfoEntry& entry) {
            if (numbers && entry.major == numbers->first && entry.minor == numbers->second)
                return true;
            return linux_fs::sourceKernelName(entry.source) == kernelName;
        };
    } else {
        showsFileSystem = [&record](const MountInfoEntry& entry) {
            return entry.fileSystemType == record->fileSystemType &&
                   entry.source == record->fileSystemSource;
        };
    }

    // The place it was bookmarked at is tried first, so that a file system mounted twice
    // keeps resolving to the same folder.
    std::vector<std::pair<std::string, const MountInfoEntry*>> candidates;
    for (const auto& entry : *mounts) {
        if (!showsFileSystem(entry))
            continue;
        if (auto path = linux_fs::throughMount(entry, record->pathInFileSystem)) {
            const bool original = *path == record->path;
            candidates.insert(original ? candidates.begin() : candidates.end(),
                              {std::move(*path), &entry});
        }
    }
    for (const auto& [path, entry] : candidates) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        // A type and a source ("tmpfs", "server:/share") may name several file systems:
        // then the folder itself must be the one recorded.
        if (record->fileSystemUUID.empty() && st.st_ino != record->inode)
            continue;
        // The folder must be on that mount, not on one stacked over part of its path.
        const auto canonical = linux_fs::canonicalPath(path).value_or(path);
        const auto actual = linux_fs::mountContaining(canonical, st.st_dev, *mounts);
        if (!actual || actual->mountPoint != entry->mountPoint || actual->major != entry->major ||
            actual->minor != entry->minor) {
            continue;
        }
        return ResolvedBookmark{path, path != record->path};
    }
    return linux_fs::notFound();
}

}  // namespace tallowmere
