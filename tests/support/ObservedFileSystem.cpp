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
    return m_inner->openForReading(path);
}

std::error_code ObservedFileSystem::createDirectory(const std::string& path) {
    note("createDirectory " + path);
    return m_inner->createDirectory(path);
}

std::error_code ObservedFileSystem::copyFile(const std::string& source,
                                             const std::string& destination) {
    note("copy " + source + " -> " + destination);
    return m_inner->copyFile(source, destination);
}

std::error_code ObservedFileSystem::remove(const std::string& path) {
    note("remove " + path);
    return m_inner->remove(path);
}

std::error_code ObservedFileSystem::setModificationDate(const std::string& path, Date date) {
    note("setModificationDate " + path);
    return m_inner->setModificationDate(path, date);
}

std::error_code ObservedFileSystem::writeFileAtomically(const std::string& path,
                                                        std::span<const std::uint8_t> contents) {
    note("write " + path);
    return m_inner->writeFileAtomically(path, contents);
}

std::error_code ObservedFileSystem::synchronize(const std::string& path) {
    note("synchronize " + path);
    return m_inner->synchronize(path);
}

}  // namespace tallowmere::testing
