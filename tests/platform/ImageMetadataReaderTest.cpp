#include "platform/linux/ImageMetadataReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/PhotoFixtures.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere::linux_fs {
namespace {

namespace fs = std::filesystem;
using testing::EmbeddedMetadata;
using testing::TemporaryDirectory;
using testing::utcDate;

ImageMetadata readFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0) << path;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    // The reader must not depend on (or move) the descriptor's offset.
    const ImageMetadata metadata = readImageMetadata(fd, static_cast<std::uint64_t>(size));
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), size);
    ::close(fd);
    return metadata;
}

// The bytes as an open file that lives in memory, so that sweeps over thousands of variants
// do not wait on a disk.
ImageMetadata readBytes(const std::string& bytes) {
    const int fd = ::memfd_create("image", MFD_CLOEXEC);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    const ImageMetadata metadata = readImageMetadata(fd, bytes.size());
    ::close(fd);
    return metadata;
}

TEST(ExifDateTimeTest, ReadsCameraDatesAndRejectsImpossibleOnes) {
    struct Case {
        std::string text;
        std::optional<std::string> offset;
        std::optional<Date> expected;
    };
    const std::vector<Case> cases = {
        {"2019:07:14 09:30:00", "+02:00", utcDate(2019, 7, 14, 7, 30, 0)},
        {"2019:07:14 09:30:00", "-05:30", utcDate(2019, 7, 14, 15, 0, 0)},
        {"2019:07:14 09:30:00", "+00:00", utcDate(2019, 7, 14, 9, 30, 0)},
        {"2019-07-14T09:30:00", "+00:00", utcDate(2019, 7, 14, 9, 30, 0)},
        {std::string("2019:07:14 09:30:00\0", 20), "+00:00", utcDate(2019, 7, 14, 9, 30, 0)},
        {"2020:02:29 23:59:59", "+00:00", utcDate(2020, 2, 29, 23, 59, 59)},
        {"1969:12:31 23:00:00", "+00:00", utcDate(1969, 12, 31, 23, 0, 0)},
        // Without an offset, or with one that cannot be read: this machine's local time.
        {"2019:08:01 12:00:00", std::nullopt, testing::localDate(2019, 8, 1, 12, 0, 0)},
        {"2019:08:01 12:00:00", "02:00", testing::localDate(2019, 8, 1, 12, 0, 0)},
        {"2019:08:01 12:00:00", "+25:00", testing::localDate(2019, 8, 1, 12, 0, 0)},
        {"2019:08:01 12:00:00", "    :  ", testing::localDate(2019, 8, 1, 12, 0, 0)},
        // What cameras with an unset clock write, and other text that is no date.
        {"    :  :     :  :  ", "+00:00", std::nullopt},
        {"0000:00:00 00:00:00", "+00:00", std::nullopt},
        {"2019:13:01 00:00:00", "+00:00", std::nullopt},
        {"2019:02:29 00:00:00", "+00:00", std::nullopt},
        {"2019:04:31 00:00:00", "+00:00", std::nullopt},
        {"2019:07:14 24:00:00", "+00:00", std::nullopt},
        {"2019:07:14 09:60:00", "+00:00", std::nullopt},
        {"2019:07:14 09:30", "+00:00", std::nullopt},
        {"2019:07:14 09:30:00 PM", "+00:00", std::nullopt},
        {"2019:07-14 09:30:00", "+00:00", std::nullopt},
        {"2019:07:14", "+00:00", std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + c.offset.value_or("(no offset)"));
        const auto offset = c.offset ? std::optional<std::string_view>(*c.offset) : std::nullopt;
        EXPECT_EQ(exifDateTime(c.text, offset), c.expected);
    }
}

TEST(ImageMetadataReaderTest, ReadsDateCommentAndRatingFromJpegAndPng) {
    TemporaryDirectory temp;
    struct Case {
        const char* name;
        std::string bytes;
        EmbeddedMetadata embedded;
        ImageMetadata expected;
    };
    const std::vector<Case> cases = {
        {"full.jpg",
         testing::minimalJpeg(),
         {"2021:05:03 10:20:30", "+01:00", "Screenshot", 5},
         {utcDate(2021, 5, 3, 9, 20, 30), true, true}},
        {"full.png",
         testing::minimalPng(),
         {"2021:05:03 10:20:30", "+01:00", "Screenshot", 5},
         {utcDate(2021, 5, 3, 9, 20, 30), true, true}},
        {"plain.jpg", testing::minimalJpeg(), {}, {}},
        {"plain.png", testing::minimalPng(), {}, {}},
        {"other-comment.jpg", testing::minimalJpeg(), {{}, {}, "Holiday", {}}, {}},
        {"padded-comment.jpg",
         testing::minimalJpeg(),
         {{}, {}, "Screenshot  ", {}},
         {std::nullopt, true, false}},
        {"rated-four.jpg", testing::minimalJpeg(), {{}, {}, {}, 4}, {}},
        {"blank-date.jpg", testing::minimalJpeg(), {"    :  :     :  :  ", {}, {}, {}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::writeBytes(temp / c.name, c.bytes);
        testing::embedMetadata(temp / c.name, c.embedded);
        EXPECT_EQ(readFile(temp / c.name), c.expected);
    }
    // Files that are no images at all.
    testing::writeBytes(temp / "empty.jpg", "");
    testing::writeBytes(temp / "text.jpg", "this is not a photo");
    EXPECT_EQ(readFile(temp / "empty.jpg"), ImageMetadata{});
    EXPECT_EQ(readFile(temp / "text.jpg"), ImageMetadata{});
}

TEST(ImageMetadataReaderTest, DamagedFilesNeverCrashOrThrow) {
    TemporaryDirectory temp;
    testing::writeBytes(temp / "source.jpg", testing::minimalJpeg());
    testing::embedMetadata(temp / "source.jpg", {"2021:05:03 10:20:30", "+01:00", "Screenshot", 5});
    testing::writeBytes(temp / "source.png", testing::minimalPng());
    testing::embedMetadata(temp / "source.png", {"2021:05:03 10:20:30", "+01:00", "Screenshot", 5});
    const ImageMetadata complete{utcDate(2021, 5, 3, 9, 20, 30), true, true};

    for (const char* source : {"source.jpg", "source.png"}) {
        SCOPED_TRACE(source);
        const auto whole = testing::snapshotFiles(temp.path()).at(source).contents;
        ASSERT_EQ(readFile(temp / source), complete);
        ASSERT_EQ(readBytes(whole), complete);
        // Cut off at every byte: whatever is read must be what the file says.
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const ImageMetadata read = readBytes(whole.substr(0, length));
            if (read.dateTimeOriginal) {
                EXPECT_EQ(read.dateTimeOriginal, complete.dateTimeOriginal) << length;
            }
        }
        // Random bytes overwritten, a few at a time, many times over.
        std::mt19937 random(7);
        for (int round = 0; round < 400; ++round) {
            std::string damaged = whole;
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < flips; ++i)
                damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
            readBytes(damaged);
        }
    }
}

}  // namespace
}  // namespace tallowmere::linux_fs
