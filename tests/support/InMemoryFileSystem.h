#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/FileSystem.h"

namespace tallowmere::testing {

// A file system held in memory, for tests of the engines that are given a FileSystem. It can
// present any resource values (every state a sync service reports), unreadable items,
// enumeration errors, missing roots and items that appear or vanish while a walk runs, and
// it keeps file contents for reads and copies.
//
// Paths are absolute and used as given ("." and ".." are not resolved); a trailing "/" is
// ignored. "/" always exists. Links are followed by the existence tests, by openForReading
// and for an enumeration's root, never by the walk itself.
//
// Thread safety: every operation may be called from any thread; one mutex guards the tree.
// The enumeration hook, the visitor and the error handler run without it, so they may
// change the tree.
class InMemoryFileSystem final : public FileSystem {
public:
    // Operations whose failure can be injected for one path.
    enum class Operation {
        resourceValues,
        enumerate,
        open,
        read,
        copy,
        remove,
        createDirectory,
        setModificationDate,
        write,
        synchronize,
        volumeValues,
        freeSpace,
        publish,
    };

    static constexpr Date kDefaultDate = Date(1'700'000'000);

    // Home "/home/tester", Application Support "/home/tester/.local/share" (not created).
    InMemoryFileSystem();

    // ---- Building the tree. Missing folders above an item are made as plain folders. These
    // calls are not recorded as changes.

    void addFolder(const std::string& path);
    void addFile(const std::string& path, std::string contents = {}, Date modified = kDefaultDate);
    void addLink(const std::string& path, std::string target);
    // An item with exactly these values; whether it is a folder, a file or a link follows
    // from them. An empty name is filled in from the path.
    void addItem(const std::string& path, ResourceValues values, std::string contents = {});
    void updateValues(const std::string& path, const std::function<void(ResourceValues&)>& edit);
    // Takes the item and everything below it away.
    void erase(const std::string& path);

    // The item's own resource values, as a local item of that kind would have them.
    static ResourceValues localFileValues(std::string name, std::int64_t size,
                                          Date modified = kDefaultDate);
    static ResourceValues localFolderValues(std::string name);

    // ---- Faults and surroundings.

    // `operation` on exactly `path` fails with `error` from now on. For enumerate: the root
    // fails as a whole; a folder below it goes to the error handler and is not listed. For
    // read: opening works and the first read fails, and copies of the file fail. For copy
    // (also copyToTemporaryFile): either side may be named; nothing is left behind. For
    // publish and createDirectory: the destination.
    void failOperation(Operation operation, const std::string& path, std::error_code error);
    // Unreadable folders cannot be listed (permission denied to the error handler) and
    // unreadable files cannot be opened; unwritable folders take no new items.
    void setReadable(const std::string& path, bool readable);
    void setWritable(const std::string& path, bool writable);
    // Called with each entry's path just before the walk looks the entry up. What a folder
    // holds is read when the walk enters it, as on a real disk.
    void setEnumerationHook(std::function<void(const std::string& path)> hook);
    // Called before each change operation (createDirectory, copy, publish, remove,
    // setModificationDate, write, synchronize) with the path it changes (a copy's
    // destination), without the tree's lock: it may change the tree or inject faults.
    void setChangeHook(std::function<void(Operation, const std::string& path)> hook);
    // The volume mounted at `mountPath` (the longest one containing a path is used).
    void addVolume(const std::string& mountPath, VolumeValues values,
                   std::optional<std::int64_t> freeBytes);
    void setHomeDirectory(std::optional<std::string> path);
    void setApplicationSupportDirectory(std::optional<std::string> path);

    // ---- Looking at the result.

    // Contents of the file at the path; no value when there is no file.
    std::optional<std::string> contents(const std::string& path) const;
    std::optional<ResourceValues> storedValues(const std::string& path) const;
    // Every change made through the FileSystem operations, in order, e.g. "copy /a -> /b",
    // "createDirectory /x", "remove /y", "setModificationDate /z", "write /w", "synchronize /v",
    // "copyToTemporary /a -> /t", "publish /t -> /b".
    std::vector<std::string> changes() const;
    // Paths of every item at or below `folder`, sorted.
    std::vector<std::string> pathsBelow(const std::string& folder) const;

    // ---- FileSystem

    FileResult<std::string> homeDirectory() const override;
    FileResult<std::string> applicationSupportDirectory() const override;
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
    struct Node {
        ResourceValues values;
        std::string contents;
        std::string linkTarget;
        bool readable = true;
        bool writable = true;
    };
    struct Volume {
        VolumeValues values;
        std::optional<std::int64_t> freeBytes;
    };

    // All below: m_mutex held.
    void ensureFolders(const std::string& path);
    const Node* find(const std::string& path) const;
    Node* find(const std::string& path);
    // Follows links (a few levels at most); the final path, or none when nothing is there.
    std::optional<std::string> resolve(const std::string& path) const;
    std::optional<std::error_code> injected(Operation operation, const std::string& path) const;
    std::vector<std::string> childNames(const std::string& folder) const;
    const Volume* volumeOf(const std::string& path) const;
    // The volume holding `path`, or the failure injected for `operation` on it, or why
    // there is none.
    FileResult<const Volume*> volumeAt(Operation operation, const std::string& path) const;
    // The folder a new item at `path` goes into, or why it cannot go there.
    std::error_code checkParentForNewItem(const std::string& path) const;
    // Why the regular file at `source` cannot be copied to a new item at `destination`.
    std::error_code checkCopy(const std::string& source, const std::string& destination) const;
    // Without m_mutex held.
    void runChangeHook(Operation operation, const std::string& path) const;
    // Without m_mutex held: the start of every change, which tells the change hook (so
    // that it may still use this file system) and then takes the lock.
    std::unique_lock<std::mutex> startChange(Operation operation, const std::string& path) const;
    // Without m_mutex held: copies the regular file at `source` to `destination`, or to a
    // new temporary name beside it when `toTemporary`. The path of the copy.
    FileResult<std::string> copyFrom(const std::string& source, const std::string& destination,
                                     bool toTemporary);

    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    std::map<std::string, Node> m_nodes;
    std::map<std::pair<Operation, std::string>, std::error_code> m_failures;
    std::function<void(const std::string&)> m_hook;
    std::function<void(Operation, const std::string&)> m_changeHook;
    std::uint64_t m_temporaryCount = 0;
    std::map<std::string, Volume> m_volumes;
    std::optional<std::string> m_home;
    std::optional<std::string> m_applicationSupport;
    std::vector<std::string> m_changes;
};

}  // namespace tallowmere::testing
