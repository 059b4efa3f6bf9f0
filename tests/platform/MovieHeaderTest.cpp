#include "platform/linux/MovieHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/PhotoFixtures.h"

namespace tallowmere::linux_fs {
namespace {

using testing::movieFile;
using testing::MovieLayout;

// Reads from bytes in memory and keeps count of what was asked for.
struct MemoryFile {
    std::string bytes;
    std::uint64_t bytesRead = 0;
    int reads = 0;

    ReadAt reader() {
        return [this](std::uint64_t offset, std::span<std::uint8_t> buffer) {
            ++reads;
            EXPECT_LE(offset, bytes.size()) << "read starts past the end";
            if (offset >= bytes.size())
                return std::optional<std::size_t>(0);
            const std::size_t count = std::min<std::uint64_t>(buffer.size(), bytes.size() - offset);
            std::memcpy(buffer.data(), bytes.data() + offset, count);
            bytesRead += count;
            return std::optional<std::size_t>(count);
        };
    }
    std::optional<double> duration() { return movieDurationSeconds(reader(), bytes.size()); }
};

std::string big32(std::uint32_t value) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
    return out;
}

std::string big64(std::uint64_t value) {
    return big32(static_cast<std::uint32_t>(value >> 32)) +
           big32(static_cast<std::uint32_t>(value));
}

std::string box(const std::string& type, const std::string& contents) {
    return big32(static_cast<std::uint32_t>(8 + contents.size())) + type + contents;
}

std::string movieHeader(int version, std::uint32_t timescale, std::uint64_t duration) {
    std::string fields(1, static_cast<char>(version));
    fields += std::string(3, '\0');
    if (version == 1) {
        fields += big64(0) + big64(0) + big32(timescale) + big64(duration);
    } else {
        fields +=
            big32(0) + big32(0) + big32(timescale) + big32(static_cast<std::uint32_t>(duration));
    }
    return box("mvhd", fields + std::string(80, '\0'));
}

TEST(MovieHeaderTest, DurationFromTheMovieHeaderWhereverTheMovieBoxIs) {
    const std::string ftyp = box("ftyp", "qt  " + big32(0) + "qt  ");
    const std::string mvhd = movieHeader(0, 600, 1800);
    struct Case {
        const char* label;
        std::string bytes;
        std::optional<double> expected;
    };
    const std::vector<Case> cases = {
        {"version 0, movie box first", movieFile({0, 600, 1800, 64, false, "qt  "}), 3.0},
        {"version 1, movie box after the media", movieFile({1, 1000, 4250, 512, true, "isom"}),
         4.25},
        {"version 1, a duration beyond 32 bits", movieFile({1, 90000, 90000ull * 100000, 8}),
         100000.0},
        {"media with a 64-bit size before the movie box",
         ftyp + big32(1) + "mdat" + big64(16 + 10) + std::string(10, 'x') + box("moov", mvhd), 3.0},
        {"movie box running to the end of the file (size 0)", ftyp + big32(0) + "moov" + mvhd, 3.0},
        {"movie header after other boxes in the movie box",
         ftyp + box("moov", box("udta", std::string(30, 'u')) + box("trak", "") + mvhd), 3.0},
        {"a movie box cut short still gives a complete header",
         ftyp + big32(100000) + "moov" + mvhd, 3.0},
        {"timescale 0", movieFile({0, 0, 1800}), std::nullopt},
        {"unknown duration, version 0", movieFile({0, 600, 0xFFFFFFFFu}), std::nullopt},
        {"unknown duration, version 1", movieFile({1, 600, ~0ull}), std::nullopt},
        {"a header version not known", ftyp + box("moov", movieHeader(2, 600, 1800)), std::nullopt},
        {"a header too short for its version",
         ftyp + box("moov", box("mvhd", std::string(1, '\1') + std::string(24, '\0'))),
         std::nullopt},
        {"no movie box", ftyp + box("mdat", "data"), std::nullopt},
        {"a movie box without a header", ftyp + box("moov", box("trak", "")), std::nullopt},
        {"the header outside the movie box", ftyp + mvhd + box("moov", ""), std::nullopt},
        {"media claiming more than the file holds", ftyp + big32(1000) + "mdat" + box("moov", mvhd),
         std::nullopt},
        {"a box smaller than its own header", ftyp + big32(4) + "free" + box("moov", mvhd),
         std::nullopt},
        {"a 64-bit size smaller than its header",
         ftyp + big32(1) + "mdat" + big64(8) + box("moov", mvhd), std::nullopt},
        {"not a movie", testing::minimalJpeg(), std::nullopt},
        {"empty file", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        MemoryFile file{c.bytes};
        const auto duration = file.duration();
        ASSERT_EQ(duration.has_value(), c.expected.has_value());
        if (c.expected) {
            EXPECT_DOUBLE_EQ(*duration, *c.expected);
        }
    }
}

TEST(MovieHeaderTest, EveryTruncationGivesTheDurationOrNothing) {
    for (const bool mediaFirst : {false, true}) {
        for (const int version : {0, 1}) {
            const std::string whole = movieFile({version, 30, 75, 40, mediaFirst, "qt  "});
            // Where the header's duration field ends.
            const std::size_t headerAt = whole.find("mvhd") + 4;
            const std::size_t complete = headerAt + (version == 1 ? 32 : 20);
            for (std::size_t length = 0; length <= whole.size(); ++length) {
                SCOPED_TRACE(std::to_string(version) + (mediaFirst ? " media first, " : ", ") +
                             std::to_string(length) + " bytes");
                MemoryFile file{whole.substr(0, length)};
                const auto duration = file.duration();
                if (length >= complete) {
                    ASSERT_TRUE(duration.has_value());
                    EXPECT_DOUBLE_EQ(*duration, 2.5);
                } else {
                    EXPECT_FALSE(duration.has_value());
                }
            }
        }
    }
}

TEST(MovieHeaderTest, ReadsOnlyBoxHeadersNeverTheMedia) {
    // 8 GiB of media (never there in memory: the reader serves the same filler for all of it)
    // before the movie box.
    const std::uint64_t mediaSize = 8ull << 30;
    const std::string ftyp = box("ftyp", "isom" + big32(0) + "isom");
    const std::string media = big32(1) + "mdat" + big64(mediaSize);
    const std::string movie = box("moov", movieHeader(1, 1000, 61'500));
    const std::uint64_t movieAt = ftyp.size() + mediaSize;
    const std::uint64_t fileSize = movieAt + movie.size();
    std::uint64_t bytesRead = 0;
    const ReadAt reader = [&](std::uint64_t offset, std::span<std::uint8_t> buffer) {
        const std::size_t count = std::min<std::uint64_t>(buffer.size(), fileSize - offset);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t at = offset + i;
            char byte = 'x';
            if (at < ftyp.size())
                byte = ftyp[at];
            else if (at < ftyp.size() + media.size())
                byte = media[at - ftyp.size()];
            else if (at >= movieAt)
                byte = movie[at - movieAt];
            buffer[i] = static_cast<std::uint8_t>(byte);
        }
        bytesRead += count;
        return std::optional<std::size_t>(count);
    };
    const auto duration = movieDurationSeconds(reader, fileSize);
    ASSERT_TRUE(duration.has_value());
    EXPECT_DOUBLE_EQ(*duration, 61.5);
    EXPECT_LT(bytesRead, 100u);
}

TEST(MovieHeaderTest, AFileOfEmptyBoxesIsGivenUpOnAndAReadErrorGivesNothing) {
    std::string bytes = box("ftyp", "qt  ");
    for (int i = 0; i < 100'000; ++i) bytes += box("free", "");
    bytes += box("moov", movieHeader(0, 600, 600));
    MemoryFile file{bytes};
    EXPECT_FALSE(file.duration().has_value());
    EXPECT_LT(file.reads, 2000);

    const ReadAt failing = [](std::uint64_t, std::span<std::uint8_t>) {
        return std::optional<std::size_t>();
    };
    EXPECT_FALSE(movieDurationSeconds(failing, 4096).has_value());
}

}  // namespace
}  // namespace tallowmere::linux_fs
