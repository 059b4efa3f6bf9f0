#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/platform/FileSystem.h"

namespace tallowmere::testing {

// Passes every call to another file system (a real one, usually), except the few a test
// replaces: the free space it reports and what happens when the engine flushes (a test can
// end the process there to act out a crash). The replacements are set before use; without
// them every call is passed on unchanged, so fakes that watch a real file system derive
// from this class and override only what they watch.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(std::shared_ptr<FileSystem> inner) : m_inner(std::move(inner)) {}

    // Free space of every path; the real answer when absent.
    std::optional<std::int64_t> freeBytes;
    // Runs before each synchronize() with the number of that call, counting from 1.
    std::function<void(int call)> beforeSynchronize;
    // Told when copyToTemporaryFile ("copy", with the destination), publishTemporaryFile
    // ("publish", with the destination) and synchronize ("sync") begin and when they have
    // finished. Called from whichever thread makes the call.
    std::function<void(std::string_view operation, const std::string& path, bool finished)> observe;

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
        if (freeBytes)
            return *freeBytes;
        return m_inner->freeSpace(path);
    }
    FileResult<std::unique_ptr<FileReader>> openForReading(const std::string& path) const override {
        return m_inner->openForReading(path);
    }
    std::error_code createDirectory(const std::string& path) override {
        return m_inner->createDirectory(path);
    }
    std::error_code createDirectoryBelow(const std::string& existingFolder,
                                         const std::string& path) override {
        return m_inner->createDirectoryBelow(existingFolder, path);
    }
    std::error_code copyFile(const std::string& source, const std::string& destination) override {
        return m_inner->copyFile(source, destination);
    }
    FileResult<std::string> copyToTemporaryFile(const std::string& source,
                                                const std::string& destination) override {
        tell("copy", destination, false);
        auto result = m_inner->copyToTemporaryFile(source, destination);
        tell("copy", destination, true);
        return result;
    }
    std::error_code publishTemporaryFile(const std::string& temporary,
                                         const std::string& destination) override {
        tell("publish", destination, false);
        const auto result = m_inner->publishTemporaryFile(temporary, destination);
        tell("publish", destination, true);
        return result;
    }
    std::error_code remove(const std::string& path) override { return m_inner->remove(path); }
    std::error_code setModificationDate(const std::string& path, Date date) override {
        return m_inner->setModificationDate(path, date);
    }
    std::error_code writeFileAtomically(const std::string& path,
                                        std::span<const std::uint8_t> contents) override {
        return m_inner->writeFileAtomically(path, contents);
    }
    std::error_code synchronize(const std::string& path) override {
        if (beforeSynchronize)
            beforeSynchronize(++m_synchronizeCalls);
        tell("sync", path, false);
        const auto result = m_inner->synchronize(path);
        tell("sync", path, true);
        return result;
    }

private:
    void tell(std::string_view operation, const std::string& path, bool finished) const {
        if (observe)
            observe(operation, path, finished);
    }

    std::shared_ptr<FileSystem> m_inner;
    // Flushes are made one at a time, though not always from one thread.
    std::atomic<int> m_synchronizeCalls = 0;
};

}  // namespace tallowmere::testing
