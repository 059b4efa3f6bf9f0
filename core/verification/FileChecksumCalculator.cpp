#include "core/verification/FileChecksumCalculator.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>
#include <system_error>

namespace tallowmere::FileChecksumCalculator {
namespace {

struct DigestContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

[[noreturn]] void throwDigestFailure() {
    throw std::runtime_error("the SHA-256 digest could not be computed");
}

std::string hexText(const unsigned char* bytes, unsigned int count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(count * 2, '0');
    for (unsigned int i = 0; i < count; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace

std::string sha256Hex(const FileSystem& fileSystem, const std::string& path) {
    // Not value-initialised: zeroing a megabyte for every small file costs more than
    // hashing it.
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(chunkSize);
    return sha256Hex(fileSystem, path, std::span<std::uint8_t>(buffer.get(), chunkSize));
}

std::string sha256Hex(const FileSystem& fileSystem, const std::string& path,
                      std::span<std::uint8_t> buffer) {
    if (buffer.empty())
        throw std::invalid_argument("sha256Hex needs a buffer");
    if (buffer.size() > chunkSize)
        buffer = buffer.first(chunkSize);

    auto opened = fileSystem.openForReading(path);
    if (!opened)
        throw std::system_error(opened.error(), "cannot open the file to hash");
    // The reader closes the file when it goes out of scope, on every path below.
    const std::unique_ptr<FileReader> reader = std::move(*opened);

    const std::unique_ptr<EVP_MD_CTX, DigestContextDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        throwDigestFailure();
    for (;;) {
        const auto count = reader->read(buffer);
        if (!count)
            throw std::system_error(count.error(), "cannot read the file to hash");
        if (*count == 0)
            break;
        if (EVP_DigestUpdate(context.get(), buffer.data(), *count) != 1)
            throwDigestFailure();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        throwDigestFailure();
    return hexText(digest, length);
}

}  // namespace tallowmere::FileChecksumCalculator
