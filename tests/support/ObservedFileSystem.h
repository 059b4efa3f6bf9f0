#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/platform/FileSystem.h"

namespace tallowmere::testing {

// Passes every call to another file system and notes which files were opened for reading
// and every change asked for, so that a test can show that a file was never read or that
// nothing was written outside a folder. Changes are noted as the in-memory file system
// notes them ("copy /a -> /b", "createDirectory /x", "remove /y", ...), whether they
// succeeded or not.
//
// Thread safety: as safe as the wrapped file system; the notes are guarded by a mutex.
class ObservedFileSystem final : public FileSystem {
public:
    explicit ObservedFileSystem(std::shared_ptr<FileSystem> inner) : m_inner(std::move(inner)) {}

    // How many times the path was opened for reading.
    int openCount(const std::string& path) const;
    std::vector<std::string> changes() const;

    FileResult<std::string> homeDirectory() const override { return m_inner->homeDirectory(); }
    FileResult<std::string> applicationSupportDirectory() const override {
        return m_inner->applicationSupportDirectory();
    }
    bool exists(const std::string& path) const override { return m_inner->exists(path); }
    bool isDirectory(const std::string& path) const override { return m_inner->isDirectory(path); }
    bool isReadable(const std::string& path) const override { return m_inner->isReadable(path); }
    bool isWritable(const std::string& path) const override { return m_inner->isWritable(path); }
    FileResult<ResourceValues> resourceValues(const std::string& path) const override {
        return m_inner->resourceValues(path);
    }
    std::error_code enumerate(const std::string& root, const DirectoryVisitor& visitor,
                              const EnumerationErrorHandler& onError) const override {
        return m_inner->enumerate(root, visitor, onError);
    }
    FileResult<VolumeValues> volumeValues(const std::string& path) const override {
        return m_inner->volumeValues(path);
    }
    FileResult<std::int64_t> freeSpace(const std::string& path) const override {
        return m_inner->freeSpace(path);
    }
    FileResult<std::unique_ptr<FileReader>> openForReading(const std::string& path) const override;
    std::error_code createDirectory(const std::string& path) override;
    std::error_code copyFile(const std::string& source, const std::string& destination) override;
    std::error_code remove(const std::string& path) override;
    std::error_code setModificationDate(const std::string& path, Date date) override;
    std::error_code writeFileAtomically(const std::string& path,
                                        std::span<const std::uint8_t> contents) override;
    std::error_code synchronize(const std::string& path) override;

private:
    void note(std::string change);

    // Constant after construction.
    const std::shared_ptr<FileSystem> m_inner;

    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    mutable std::map<std::string, int> m_opens;
    std::vector<std::string> m_changes;
};

}  // namespace tallowmere::testing
