#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>

namespace tallowmere::testing {

// What a folder holds, to show that something left it alone: for every item below it
// (links not followed) its kind, and for files their size, modification time in
// nanoseconds and the SHA-256 of their contents. A folder that does not exist gives an
// empty snapshot.
class FileTreeSnapshot {
public:
    struct Entry {
        char kind = '?';  // 'f' file, 'd' folder, 'l' link, '?' anything else
        std::uintmax_t size = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::string sha256;

        bool operator==(const Entry&) const = default;
    };

    static FileTreeSnapshot of(const std::filesystem::path& folder);

    const std::map<std::string, Entry>& entries() const { return m_entries; }
    bool operator==(const FileTreeSnapshot&) const = default;

private:
    // Keyed by the path below the folder.
    std::map<std::string, Entry> m_entries;
};

void PrintTo(const FileTreeSnapshot& snapshot, std::ostream* out);

}  // namespace tallowmere::testing
