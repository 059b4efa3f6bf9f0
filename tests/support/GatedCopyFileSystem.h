#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/Gate.h"

namespace tallowmere::testing {

// Another file system with two places where a worker can be held: the first free-space
// check after armSpaceGate() (the evaluation at the start of a copy), and the copy of a
// file with the given name, so that a test can act while that file is being copied.
class GatedCopyFileSystem final : public ForwardingFileSystem {
public:
    GatedCopyFileSystem(std::shared_ptr<FileSystem> inner, std::string gatedFileName)
        : ForwardingFileSystem(std::move(inner)), m_gatedFileName(std::move(gatedFileName)) {}

    FileResult<std::int64_t> freeSpace(const std::string& path) const override {
        if (m_spaceArmed.exchange(false))
            spaceGate.pass();
        return ForwardingFileSystem::freeSpace(path);
    }

    FileResult<std::string> copyToTemporaryFile(const std::string& source,
                                                const std::string& destination) override {
        if (std::filesystem::path(source).filename() == m_gatedFileName)
            copyGate.pass();
        return ForwardingFileSystem::copyToTemporaryFile(source, destination);
    }

    void armSpaceGate() { m_spaceArmed = true; }

    mutable Gate spaceGate;
    Gate copyGate;

private:
    const std::string m_gatedFileName;
    mutable std::atomic<bool> m_spaceArmed = false;
};

}  // namespace tallowmere::testing
