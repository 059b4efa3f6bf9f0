#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/platform/FileSystem.h"

// SHA-256 of a file's contents, read in chunks of at most 1 MiB so that memory use does not
// grow with the file. Safe to call from any number of threads at once.
namespace tallowmere::FileChecksumCalculator {

inline constexpr std::size_t chunkSize = 1'048'576;

// Returns the digest as 64 lower-case hexadecimal digits. Throws std::system_error with the
// file system's error when the file cannot be opened (nothing there, a folder, no
// permission) or a read fails part way; the file is closed on every path.
std::string sha256Hex(const FileSystem& fileSystem, const std::string& path);

// The same, reading through `buffer` (not empty; chunks are its size), so that a caller
// hashing many files reuses one buffer.
std::string sha256Hex(const FileSystem& fileSystem, const std::string& path,
                      std::span<std::uint8_t> buffer);

}  // namespace tallowmere::FileChecksumCalculator
