#include "tests/support/ObservedFileSystem.h"

namespace tallowmere::testing {

int ObservedFileSystem::openCount(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_opens.find(path);
    return found == m_opens.end() ? 0 : found->second;
}

std::vector<std::string> ObservedFileSystem::changes() const {
    std::lock_guard lock(m_mutex);
    return m_changes;
}

void ObservedFileSystem::note(std::string change) {
    std::lock_guard lock(m_mutex);
    m_changes.push_back(std::move(change));
}

FileResult<std::unique_ptr<FileReader>> ObservedFileSystem::openForReading(
    const std::string& path) const {
    {
        std::lock_guard lock(m_mutex);
        ++m_opens[path];
    }
    return ForwardingFileSystem::openForReading(path);
}

std::error_code ObservedFileSystem::createDirectory(const std::string& path) {
    note("createDirectory " + path);
    return ForwardingFileSystem::createDirectory(path);
}

std::error_code ObservedFileSystem::copyFile(const std::string& source,
                                             const std::string& destination) {
    note("copy " + source + " -> " + destination);
    return ForwardingFileSystem::copyFile(source, destination);
}

std::error_code ObservedFileSystem::createDirectoryBelow(const std::string& existingFolder,
                                                         const std::string& path) {
    note("createDirectory " + path);
    return ForwardingFileSystem::createDirectoryBelow(existingFolder, path);
}

FileResult<std::string> ObservedFileSystem::copyToTemporaryFile(const std::string& source,
                                                                const std::string& destination) {
    note("copy " + source + " -> " + destination);
    return ForwardingFileSystem::copyToTemporaryFile(source, destination);
}

std::error_code ObservedFileSystem::publishTemporaryFile(const std::string& temporary,
                                                         const std::string& destination) {
    note("publish " + temporary + " -> " + destination);
    return ForwardingFileSystem::publishTemporaryFile(temporary, destination);
}

std::error_code ObservedFileSystem::remove(const std::string& path) {
    note("remove " + path);
    return ForwardingFileSystem::remove(path);
}

std::error_code ObservedFileSystem::setModificationDate(const std::string& path, Date date) {
    note("setModificationDate " + path);
    return ForwardingFileSystem::setModificationDate(path, date);
}

std::error_code ObservedFileSystem::writeFileAtomically(const std::string& path,
                                                        std::span<const std::uint8_t> contents) {
    note("write " + path);
    return ForwardingFileSystem::writeFileAtomically(path, contents);
}

std::error_code ObservedFileSystem::synchronize(const std::string& path) {
    note("synchronize " + path);
    return ForwardingFileSystem::synchronize(path);
}

}  // namespace tallowmere::testing
