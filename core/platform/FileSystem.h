#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/platform/Date.h"

namespace tallowmere {

// True when an error means that nothing is at the path (or a folder on the way to it is a
// file), as opposed to something being there that could not be used.
bool isNotFound(const std::error_code& error);

// Either a value or the error that prevented it. Failing operations never throw; callers
// branch on `ok()` and tell "not found" apart from other failures with `notFound()`.
template <typename T>
class FileResult {
public:
    FileResult(T value) : m_value(std::move(value)) {}
    // `error` must be set; an empty error code is turned into io_error so that a failure
    // can never read as success.
    FileResult(std::error_code error)
        : m_error(error ? error : std::make_error_code(std::errc::io_error)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    bool notFound() const { return !ok() && isNotFound(m_error); }
    // Empty when ok().
    const std::error_code& error() const { return m_error; }

    // Throw std::bad_optional_access when there is no value.
    const T& value() const& { return m_value.value(); }
    T& value() & { return m_value.value(); }
    T&& value() && { return std::move(m_value).value(); }
    const T& operator*() const& { return m_value.value(); }
    T& operator*() & { return m_value.value(); }
    const T* operator->() const { return &m_value.value(); }
    T* operator->() { return &m_value.value(); }

private:
    std::optional<T> m_value;
    std::error_code m_error;
};

// A synced file's downloading status as its file system reports it: one of the three known
// values, or any further value a sync service reports, kept with its text so that it is
// never mistaken for a known one.
struct DownloadingStatus {
    enum class Kind { current, downloaded, notDownloaded, other };

    Kind kind = Kind::current;
    // The reported value's text for `other`; empty for the known values.
    std::string otherText;

    static DownloadingStatus current() { return {Kind::current, {}}; }
    static DownloadingStatus downloaded() { return {Kind::downloaded, {}}; }
    static DownloadingStatus notDownloaded() { return {Kind::notDownloaded, {}}; }
    static DownloadingStatus other(std::string text) { return {Kind::other, std::move(text)}; }

    bool operator==(const DownloadingStatus&) const = default;
};

// The eighteen values the iCloud Drive scanner reads for one item, in the order it asks for
// them, and the space the item takes on disk. An absent optional means the file system does
// not report that value, which is not the same as false.
struct ResourceValues {
    // The item's own name (the last path component), bytes as stored on disk.
    std::string name;
    // Type of the item itself; symbolic links are never followed.
    bool isDirectory = false;
    bool isRegularFile = false;
    bool isSymbolicLink = false;
    // A folder shown to the user as one document (an application bundle, a library).
    bool isPackage = false;
    bool isHidden = false;
    // Logical size in bytes; absent for folders.
    std::optional<std::int64_t> fileSize;
    std::optional<Date> contentModificationDate;
    // Present and true on a file system whose items a sync service manages.
    std::optional<bool> isUbiquitousItem;
    // Regular files only.
    std::optional<DownloadingStatus> downloadingStatus;
    std::optional<bool> isDownloading;
    std::optional<bool> downloadRequested;
    std::optional<bool> isUploaded;
    std::optional<bool> isUploading;
    std::optional<bool> hasUnresolvedConflicts;
    bool isExcludedFromSync = false;
    // The error a sync service reports for the item's last download or upload, if any.
    std::optional<std::error_code> downloadingError;
    std::optional<std::error_code> uploadingError;
    // Bytes allocated on disk for the item (what it takes, not its logical length): less than
    // the size for a sparse file or a placeholder, more for a small file in a large block.
    std::optional<std::int64_t> allocatedSize;

    bool operator==(const ResourceValues&) const = default;
};

// What is known of the volume (mounted file system) that holds a path.
struct VolumeValues {
    std::optional<bool> volumeIsRemovable;
    std::optional<std::string> volumeName;

    bool operator==(const VolumeValues&) const = default;
};

// One item met while enumerating a folder.
struct DirectoryEntry {
    // The root as given, "/", then the names down to the item.
    std::string path;
    // 1 for the root's direct children.
    int depth = 0;
    // Read while listing, so that looking at them costs no further file-system call. An
    // error when the item is listed but its values cannot be read.
    FileResult<ResourceValues> values;
};

// The visitor's answer for each entry.
enum class WalkAction {
    // Walk into the entry when it is a folder (ignored for anything else).
    descend,
    // Do not list this folder's contents.
    skipDescendants,
    // End the enumeration now; nothing more is listed or reported.
    stop,
};

using DirectoryVisitor = std::function<WalkAction(const DirectoryEntry&)>;
// Called for a folder below the root that could not be opened or listed completely: its
// path and the error. The enumeration then goes on with the next entry.
using EnumerationErrorHandler = std::function<void(const std::string& path, std::error_code)>;

// Reads one open file from start to end.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Fills the front of `buffer` with the next bytes and returns how many; 0 at the end of
    // the file. An error leaves the reader at an unspecified position.
    virtual FileResult<std::size_t> read(std::span<std::uint8_t> buffer) = 0;
};

// The file services the engines are given: every question the scanner, the destination
// probe, the copy and the verification ask of the file system, and every change the copy
// and the restore test make. Paths are absolute byte strings; a name that is not UTF-8, holds
// a newline or is 255 bytes long is an ordinary name.
//
// Failures are values: operations returning std::error_code return an empty one on success;
// FileResult carries either the value or the error. Nothing here throws.
//
// Thread safety: implementations are safe for concurrent use from any thread without
// external synchronization. Callbacks (the enumeration's visitor and error handler) run on
// the calling thread, one at a time, and may call back into the same file system.
//
// Read-only operations are const, so an engine that must never change anything (the
// scanner) holds a `const FileSystem&`.
class FileSystem {
public:
    // Temporary files of unfinished copies and writes begin with this name, in the folder of
    // the file being made. They are this program's own and may be removed at any time.
    static constexpr std::string_view kPartialFilePrefix = ".tallowmere-partial-";

    virtual ~FileSystem() = default;

    // The user's home folder. Not found when it cannot be determined.
    virtual FileResult<std::string> homeDirectory() const = 0;
    // The folder where applications keep the user's data (the database lives below it). The
    // folder may not exist yet. Not found when it cannot be determined.
    virtual FileResult<std::string> applicationSupportDirectory() const = 0;
    // The user's pictures folder; it may not exist. This default answers the home folder's
    // "Pictures"; not found when the home folder cannot be determined.
    virtual FileResult<std::string> picturesDirectory() const;

    // Something is at the path, following symbolic links (a dangling link is nothing).
    virtual bool exists(const std::string& path) const = 0;
    // A folder is at the path, following symbolic links.
    virtual bool isDirectory(const std::string& path) const = 0;
    // This process may read (or write) the item at the path.
    virtual bool isReadable(const std::string& path) const = 0;
    virtual bool isWritable(const std::string& path) const = 0;

    // The values of the item at the path itself (a symbolic link is described, not followed).
    virtual FileResult<ResourceValues> resourceValues(const std::string& path) const = 0;

    // Lists everything below `root`, each folder's entry before its contents, every entry
    // with its values. A symbolic link below the root is reported as one and never walked
    // into; `root` itself may be a link to a folder. An entry that disappears while the
    // enumeration runs is not reported. Folders that cannot be opened or listed go to
    // `onError` and the walk goes on.
    // The entries of one folder come in bytewise order of their names, so that a walk is
    // repeatable and names that share a beginning come one after another.
    // Returns empty when the root was listed (also when the visitor stopped early); the
    // root's error when it is missing (not found), not a folder or cannot be listed, in
    // which case nothing was reported.
    virtual std::error_code enumerate(const std::string& root, const DirectoryVisitor& visitor,
                                      const EnumerationErrorHandler& onError) const = 0;

    // Removability and name of the volume holding the path; an error when it cannot be told.
    virtual FileResult<VolumeValues> volumeValues(const std::string& path) const = 0;
    // Bytes an unprivileged user may still write on the file system holding the path.
    virtual FileResult<std::int64_t> freeSpace(const std::string& path) const = 0;

    // Opens a file for reading from its start, advising the system that it is read once in
    // order. Not found when nothing is there; an error for a folder or an unreadable file.
    virtual FileResult<std::unique_ptr<FileReader>> openForReading(
        const std::string& path) const = 0;

    // Creates the folder and any missing folders above it. Success when it already exists;
    // file_exists when something that is not a folder is there.
    virtual std::error_code createDirectory(const std::string& path) = 0;

    // Creates `path` and the missing folders between it and `existingFolder`, but never
    // `existingFolder` itself: not found when that folder is not there, so a drive that went
    // away is not re-created as an empty folder on another disk. Below `existingFolder`
    // symbolic links are not followed (not_a_directory), so nothing is made outside it.
    // Success when everything exists already; invalid_argument when `path` does not lie
    // within `existingFolder`; file_exists when a non-folder is at `path`.
    virtual std::error_code createDirectoryBelow(const std::string& existingFolder,
                                                 const std::string& path) = 0;

    // Copies the regular file at `source` to `destination`, keeping its modification time
    // and permission bits. The data goes into a temporary file in the destination folder
    // that takes the destination's name only when complete, and only if nothing is at the
    // destination by then: an existing item is never replaced (file_exists), and on every
    // failure the temporary file is removed, so the destination path never holds part of a
    // copy. `source` must be a regular file; a symbolic link is not followed.
    // The copy is not flushed to the disk: call synchronize() before relying on it.
    virtual std::error_code copyFile(const std::string& source, const std::string& destination) = 0;

    // The two halves of copyFile(), for a caller that flushes many copies at once before
    // any of them takes its name (copy, copy, ..., synchronize(), publish, publish, ...,
    // synchronize()): a name then only ever stands for complete, durable data.
    //
    // First half: copies the regular file at `source` into a new temporary file (named
    // kPartialFilePrefix + a random suffix) in the folder of `destination`, keeping its
    // modification time and permission bits, and returns that file's path. Its errors, in
    // the order they are looked for: not found when the source is missing,
    // is_a_directory when it is a folder, file_exists when something is at `destination`
    // already, not found when the destination folder is missing. On every failure nothing
    // is left behind.
    virtual FileResult<std::string> copyToTemporaryFile(const std::string& source,
                                                        const std::string& destination) = 0;
    // Second half: gives `temporary` the name of `destination`, in the same folder, only if
    // nothing has that name yet: file_exists otherwise, and both stay as they are (the
    // caller removes the temporary file). invalid_argument when the two are not in one
    // folder. Not flushed: call synchronize() before relying on the new name.
    virtual std::error_code publishTemporaryFile(const std::string& temporary,
                                                 const std::string& destination) = 0;

    // Removes the item at the path; a folder with everything in it. Symbolic links are
    // removed, never followed. Not found when nothing is there. On a partial failure the
    // first error is returned and whatever could be removed is gone.
    virtual std::error_code remove(const std::string& path) = 0;

    // Sets the content modification time of the item at the path.
    virtual std::error_code setModificationDate(const std::string& path, Date date) = 0;

    // Replaces the file at the path with `contents` in one step (temporary file, flushed,
    // renamed over the old one): readers see the old file or the new one, never a mixture,
    // and a failure leaves the old file as it was and no temporary file behind.
    virtual std::error_code writeFileAtomically(const std::string& path,
                                                std::span<const std::uint8_t> contents) = 0;

    // Flushes everything written to the file system holding the path to its disk.
    virtual std::error_code synchronize(const std::string& path) = 0;
};

}  // namespace tallowmere
