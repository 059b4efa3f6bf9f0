#include "tests/support/PhotoFixtures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

// exiv2 0.27 hands images around in std::auto_ptr, which C++20 deprecates.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace tallowmere {

void PrintTo(const PhotoAssetMetadata& asset, std::ostream* out) {
    *out << "{" << rawValue(asset.mediaType) << (asset.isLivePhoto ? " live" : "")
         << (asset.isScreenshot ? " screenshot" : "") << (asset.isFavorite ? " favourite" : "")
         << (asset.isHidden ? " hidden" : "") << ", duration " << asset.duration << ", date "
         << (asset.creationDate ? std::to_string(asset.creationDate->secondsSince1970())
                                : std::string("none"))
         << ", resources " << asset.resourceCount << "}";
}

}  // namespace tallowmere

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;

void putBig16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
    out.push_back(static_cast<char>(value & 0xFF));
}

void putBig32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void putBig64(std::string& out, std::uint64_t value) {
    putBig32(out, static_cast<std::uint32_t>(value >> 32));
    putBig32(out, static_cast<std::uint32_t>(value));
}

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putPngChunk(std::string& out, const std::string& type, const std::string& data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    out += body;
    putBig32(out, crc32(body));
}

std::string box(const std::string& type, const std::string& contents) {
    std::string out;
    putBig32(out, static_cast<std::uint32_t>(8 + contents.size()));
    return out + type + contents;
}

std::int64_t nanoseconds(const struct timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::tm calendarFields(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return fields;
}

}  // namespace

std::string minimalJpeg() {
    std::string out = "\xFF\xD8";
    // Quantisation table 0: all ones.
    out += "\xFF\xDB";
    putBig16(out, 67);
    out.push_back('\0');
    out.append(64, '\x01');
    // Frame: 8-bit samples, 1x1, one component using table 0.
    out += "\xFF\xC0";
    putBig16(out, 11);
    out += std::string("\x08\x00\x01\x00\x01\x01\x01\x11\x00", 9);
    // DC and AC Huffman tables with a single one-bit code each (category 0, end of block).
    for (const char tableClass : {'\x00', '\x10'}) {
        out += "\xFF\xC4";
        putBig16(out, 20);
        out.push_back(tableClass);
        out.push_back('\x01');
        out.append(15, '\0');
        out.push_back('\0');
    }
    // Scan: the one block is "DC difference 0, end of block" = bits 00, padded with ones.
    out += "\xFF\xDA";
    putBig16(out, 8);
    out += std::string("\x01\x01\x00\x00\x3F\x00", 6);
    out += "\x3F";
    out += "\xFF\xD9";
    return out;
}

std::string minimalPng() {
    std::string out = "\x89PNG\r\n\x1A\n";
    std::string header;
    putBig32(header, 1);
    putBig32(header, 1);
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
    putPngChunk(out, "IHDR", header);
    // zlib stream holding one stored block: filter byte 0, then the pixel.
    const std::string raw("\x00\x80", 2);
    std::string zlib("\x78\x01", 2);
    zlib += std::string("\x01\x02\x00\xFD\xFF", 5);
    zlib += raw;
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(zlib, (b << 16) | a);
    putPngChunk(out, "IDAT", zlib);
    putPngChunk(out, "IEND", "");
    return out;
}

std::string movieFile(const MovieLayout& layout) {
    std::string header;
    header.push_back(static_cast<char>(layout.headerVersion));
    header.append(3, '\0');  // flags
    if (layout.headerVersion == 1) {
        putBig64(header, 3'600'000'000ull);  // creation time, seconds since 1904
        putBig64(header, 3'600'000'000ull);
        putBig32(header, layout.timescale);
        putBig64(header, layout.duration);
    } else {
        putBig32(header, 3'600'000'000u);
        putBig32(header, 3'600'000'000u);
        putBig32(header, layout.timescale);
        putBig32(header, static_cast<std::uint32_t>(layout.duration));
    }
    // Rate, volume, reserved, matrix, pre-defined and next track ID, as a real header has.
    header.append(80, '\0');
    const std::string movie = box("moov", box("mvhd", header) + box("trak", std::string(16, '\0')));
    const std::string media = box("mdat", std::string(layout.mediaBytes, '\x5A'));
    std::string fileType = layout.brand;
    putBig32(fileType, 0);
    fileType += layout.brand;
    const std::string start = box("ftyp", fileType);
    return layout.mediaFirst ? start + media + movie : start + movie + media;
}

void embedMetadata(const fs::path& path, const EmbeddedMetadata& metadata) {
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.string());
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    if (metadata.dateTimeOriginal)
        exif["Exif.Photo.DateTimeOriginal"] = *metadata.dateTimeOriginal;
    if (metadata.offsetTimeOriginal)
        exif["Exif.Photo.OffsetTimeOriginal"] = *metadata.offsetTimeOriginal;
    if (metadata.userComment)
        exif["Exif.Photo.UserComment"] = "charset=Ascii " + *metadata.userComment;
    if (metadata.rating)
        image->xmpData()["Xmp.xmp.Rating"] = std::to_string(*metadata.rating);
    image->writeMetadata();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void setFileTimes(const fs::path& path, std::int64_t modified) {
    const struct timespec times[2] = {{static_cast<time_t>(modified - 86'400), 0},
                                      {static_cast<time_t>(modified), 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("cannot set the times of " + path.string());
}

std::map<std::string, FileState> snapshotFiles(const fs::path& root) {
    std::map<std::string, FileState> states;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0)
            throw std::runtime_error("cannot look at " + it->path().string());
        if (S_ISDIR(st.st_mode))
            continue;
        FileState state;
        state.size = st.st_size;
        state.modifiedNanoseconds = nanoseconds(st.st_mtim);
        state.accessedNanoseconds = nanoseconds(st.st_atim);
        if (S_ISLNK(st.st_mode)) {
            state.linkTarget = fs::read_symlink(it->path()).string();
        } else {
            // Read without moving the access time, or the snapshot would change what it records.
            const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOATIME | O_CLOEXEC);
            if (fd < 0)
                throw std::runtime_error("cannot read " + it->path().string());
            char buffer[4096];
            ssize_t got = 0;
            while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
                state.contents.append(buffer, got);
            ::close(fd);
        }
        states.emplace(fs::relative(it->path(), root).string(), std::move(state));
    }
    return states;
}

std::int64_t allocatedBytesOfVisibleFiles(const fs::path& root) {
    std::int64_t total = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->path().filename().string().front() == '.') {
            if (it->symlink_status().type() == fs::file_type::directory)
                it.disable_recursion_pending();
            continue;
        }
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            total += std::int64_t(st.st_blocks) * 512;
    }
    return total;
}

Date localDate(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields = calendarFields(year, month, day, hour, minute, second);
    fields.tm_isdst = -1;
    return Date(static_cast<double>(std::mktime(&fields)));
}

Date utcDate(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields = calendarFields(year, month, day, hour, minute, second);
    return Date(static_cast<double>(::timegm(&fields)));
}

PhotoFolderFixture writePhotoFolderFixture(const fs::path& root) {
    PhotoFolderFixture fixture{root, {}};
    const auto image = [](PhotoAssetMetadata metadata) {
        metadata.mediaType = PhotoMediaType::image;
        metadata.resourceCount = metadata.isLivePhoto ? 2 : 1;
        return metadata;
    };

    // A photo in a hidden album: an asset, and hidden.
    writeBytes(root / ".hidden-album" / "secret.jpg", minimalJpeg());
    embedMetadata(root / ".hidden-album" / "secret.jpg", {"2020:02:02 02:02:02", "+01:00", {}, {}});
    fixture.assets.push_back(
        image({.isHidden = true, .creationDate = utcDate(2020, 2, 2, 1, 2, 2)}));

    // Camera photos: dated by their EXIF original date, with or without its zone offset.
    writeBytes(root / "2019" / "IMG_0001.JPG", minimalJpeg());
    embedMetadata(root / "2019" / "IMG_0001.JPG", {"2019:07:14 09:30:00", "+02:00", {}, {}});
    fixture.assets.push_back(image({.creationDate = utcDate(2019, 7, 14, 7, 30, 0)}));

    writeBytes(root / "2019" / "IMG_0002.jpg", minimalJpeg());
    embedMetadata(root / "2019" / "IMG_0002.jpg", {"2019:08:01 12:00:00", {}, {}, 5});
    fixture.assets.push_back(
        image({.isFavorite = true, .creationDate = localDate(2019, 8, 1, 12, 0, 0)}));

    // A live photo: the still, its movie and an edit sidecar that is no media.
    writeBytes(root / "2019" / "IMG_0003.jpg", minimalJpeg());
    embedMetadata(root / "2019" / "IMG_0003.jpg", {"2019:09:09 09:09:09", "+00:00", {}, {}});
    writeBytes(root / "2019" / "IMG_0003.MOV", movieFile({0, 600, 900, 32, false, "qt  "}));
    writeBytes(root / "2019" / "IMG_0003.AAE", "<plist/>");
    fixture.assets.push_back(
        image({.isLivePhoto = true, .creationDate = utcDate(2019, 9, 9, 9, 9, 9)}));

    // A screenshot known by its name, without any EXIF: dated by its modification time.
    const fs::path named = root / "Screenshots" / "Screenshot from 2023-01-02 10-00-00.png";
    writeBytes(named, minimalPng());
    setFileTimes(named, 1'672'653'600);
    fixture.assets.push_back(image({.isScreenshot = true, .creationDate = Date(1'672'653'600)}));

    // Movies: durations from their movie headers, dates from their modification times.
    writeBytes(root / "Videos" / "clip.mp4", movieFile({1, 1000, 4250, 4096, true, "isom"}));
    setFileTimes(root / "Videos" / "clip.mp4", 1'600'000'000);
    fixture.assets.push_back({.mediaType = PhotoMediaType::video,
                              .duration = 4.25,
                              .creationDate = Date(1'600'000'000),
                              .resourceCount = 1});
    writeBytes(root / "Videos" / "old.mov", movieFile({0, 600, 1800, 16, false, "qt  "}));
    setFileTimes(root / "Videos" / "old.mov", 1'500'000'000);
    fixture.assets.push_back({.mediaType = PhotoMediaType::video,
                              .duration = 3.0,
                              .creationDate = Date(1'500'000'000),
                              .resourceCount = 1});

    // A damaged photo: the start of a JPEG with an EXIF segment that claims more than there
    // is and points its first directory far outside the file.
    std::string broken = "\xFF\xD8\xFF\xE1\xFF\xF0";
    broken += std::string("Exif\0\0II*\0\xFF\xFF\xFF\x7F\x01\x00", 16);
    broken += std::string(40, '\xFF');
    writeBytes(root / "broken.jpg", broken);
    setFileTimes(root / "broken.jpg", 1'400'000'000);
    fixture.assets.push_back(image({.creationDate = Date(1'400'000'000)}));

    writeBytes(root / "memo.m4a", "not really sound");
    setFileTimes(root / "memo.m4a", 1'450'000'000);
    fixture.assets.push_back({.mediaType = PhotoMediaType::audio,
                              .creationDate = Date(1'450'000'000),
                              .resourceCount = 1});

    // A screenshot known by its EXIF user comment.
    writeBytes(root / "shot.png", minimalPng());
    embedMetadata(root / "shot.png", {"2023:03:04 05:06:07", "-05:00", "Screenshot", {}});
    fixture.assets.push_back(
        image({.isScreenshot = true, .creationDate = utcDate(2023, 3, 4, 10, 6, 7)}));

    // Not assets: a hidden file, a text file, a link to a photo.
    writeBytes(root / ".IMG_9999.jpg", minimalJpeg());
    writeBytes(root / "notes.txt", "shopping list");
    fs::create_symlink("2019/IMG_0001.JPG", root / "link.jpg");

    // Every file gets an access time older than its modification time, so a read that
    // updates access times would show in a snapshot even with relatime.
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->symlink_status().type() == fs::file_type::regular) {
            struct stat st {};
            ::stat(it->path().c_str(), &st);
            setFileTimes(it->path(), st.st_mtim.tv_sec);
        }
    }
    return fixture;
}

}  // namespace tallowmere::testing

#pragma GCC diagnostic pop
