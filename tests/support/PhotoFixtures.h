#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/photos/PhotoLibrary.h"

namespace tallowmere {

// Shows an asset's metadata in a failed comparison.
void PrintTo(const PhotoAssetMetadata& asset, std::ostream* out);

}  // namespace tallowmere

namespace tallowmere::testing {

// A complete 1x1 grey baseline JPEG (quantisation and Huffman tables, one scan), small
// enough to write thousands of.
std::string minimalJpeg();

// A complete 1x1 grey PNG (header, one stored-deflate data chunk, end).
std::string minimalPng();

// An MP4/QuickTime file made of boxes: 'ftyp', then 'moov' holding an 'mvhd' of the given
// version (0 or 1) with `timescale` and `duration`, and an 'mdat' of `mediaBytes` bytes
// before or after the 'moov'.
struct MovieLayout {
    int headerVersion = 0;
    std::uint32_t timescale = 600;
    std::uint64_t duration = 0;
    std::size_t mediaBytes = 64;
    bool mediaFirst = false;
    std::string brand = "qt  ";
};
std::string movieFile(const MovieLayout& layout);

// EXIF and XMP values to embed in an image file; absent ones are not written.
struct EmbeddedMetadata {
    // "YYYY:MM:DD HH:MM:SS".
    std::optional<std::string> dateTimeOriginal;
    // "+HH:MM".
    std::optional<std::string> offsetTimeOriginal;
    std::optional<std::string> userComment;
    std::optional<int> rating;
};

// Writes the values into the JPEG or PNG file at the path with exiv2. Throws on failure.
void embedMetadata(const std::filesystem::path& path, const EmbeddedMetadata& metadata);

void writeBytes(const std::filesystem::path& path, const std::string& bytes);

// Sets the modification time to `modified` and the access time to a day before it (so that
// any read on a file system mounted with relatime would move the access time).
void setFileTimes(const std::filesystem::path& path, std::int64_t modified);

// Everything that shows whether a file was changed or even read: its bytes, size, and
// modification and access times (nanoseconds), for every item below a folder, hidden ones
// and links included (links themselves, not followed).
struct FileState {
    std::string contents;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t accessedNanoseconds = 0;
    std::string linkTarget;

    bool operator==(const FileState&) const = default;
};
std::map<std::string, FileState> snapshotFiles(const std::filesystem::path& root);

// Bytes allocated on disk (st_blocks * 512) for the regular files below `root`, leaving out
// items whose name begins with "." and everything inside such folders.
std::int64_t allocatedBytesOfVisibleFiles(const std::filesystem::path& root);

// A small picture folder, written by the test, with one file for each rule the Linux library
// applies. `assets` lists the metadata expected for each asset in the library's walk order
// (bytewise path order).
struct PhotoFolderFixture {
    std::filesystem::path root;
    std::vector<PhotoAssetMetadata> assets;
};
PhotoFolderFixture writePhotoFolderFixture(const std::filesystem::path& root);

// The EXIF date text as this machine's local time, the way the library reads a date that
// comes without an offset.
Date localDate(int year, int month, int day, int hour, int minute, int second);
// The same fields as a time in UTC.
Date utcDate(int year, int month, int day, int hour, int minute, int second);

}  // namespace tallowmere::testing
