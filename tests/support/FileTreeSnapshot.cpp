#include "tests/support/FileTreeSnapshot.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tallowmere::testing {
namespace {

// Hashed here with OpenSSL's one-shot call on the whole contents, read through the
// standard library, so that the check does not share code with what it checks.
std::string sha256Of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "unreadable";
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 failed");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kDigits[digest[i] >> 4];
        text += kDigits[digest[i] & 0x0F];
    }
    return text;
}

}  // namespace

FileTreeSnapshot FileTreeSnapshot::of(const std::filesystem::path& folder) {
    FileTreeSnapshot snapshot;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0)
            continue;
        Entry entry;
        entry.kind = S_ISREG(st.st_mode)   ? 'f'
                     : S_ISDIR(st.st_mode) ? 'd'
                     : S_ISLNK(st.st_mode) ? 'l'
                                           : '?';
        if (entry.kind == 'f') {
            entry.size = static_cast<std::uintmax_t>(st.st_size);
            entry.modifiedNanoseconds =
                static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
            entry.sha256 = sha256Of(it->path());
        }
        snapshot.m_entries.emplace(std::filesystem::relative(it->path(), folder).string(), entry);
    }
    return snapshot;
}

void PrintTo(const FileTreeSnapshot& snapshot, std::ostream* out) {
    for (const auto& [path, entry] : snapshot.entries()) {
        *out << "\n  " << entry.kind << ' ' << path << ' ' << entry.size << ' '
             << entry.modifiedNanoseconds << ' ' << entry.sha256;
    }
}

}  // namespace tallowmere::testing
