#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/ForwardingFileSystem.h"

namespace tallowmere::testing {

// Passes every call to another file system and notes which files were opened for reading
// and every change asked for, so that a test can show that a file was never read or that
// nothing was written outside a folder. Changes are noted as the in-memory file system
// notes them ("copy /a -> /b", "createDirectory /x", "remove /y", ...), whether they
// succeeded or not.
//
// Thread safety: as safe as the wrapped file system; the notes are guarded by a mutex.
class ObservedFileSystem final : public ForwardingFileSystem {
public:
    explicit ObservedFileSystem(std::shared_ptr<FileSystem> inner)
        : ForwardingFileSystem(std::move(inner)) {}

    // How many times the path was opened for reading.
    int openCount(const std::string& path) const;
    std::vector<std::string> changes() const;

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
    void note(std::string change);

    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    mutable std::map<std::string, int> m_opens;
    std::vector<std::string> m_changes;
};

}  // namespace tallowmere::testing
