#include "platform/linux/MovieHeader.h"

#include <array>
#include <limits>
#include <string_view>

namespace tallowmere::linux_fs {
namespace {

// Enough for any real file (a movie has a handful of top-level boxes and a few dozen in
// 'moov'), small enough that a file made of empty boxes cannot keep the scan reading.
constexpr int kMaxBoxesPerLevel = 1024;

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
           std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]);
}

std::uint64_t bigEndian64(const std::uint8_t* bytes) {
    return std::uint64_t(bigEndian32(bytes)) << 32 | bigEndian32(bytes + 4);
}

// Reads exactly `buffer.size()` bytes at `offset`; false when fewer are there or reading fails.
bool readExactly(const ReadAt& readAt, std::uint64_t offset, std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const auto count = readAt(offset + done, buffer.subspan(done));
        if (!count || *count == 0)
            return false;
        done += *count;
    }
    return true;
}

struct Box {
    std::array<char, 4> type{};
    // Where the box's contents begin and end (the end is never past the parent's end).
    std::uint64_t contentStart = 0;
    std::uint64_t end = 0;

    bool is(std::string_view name) const { return std::string_view(type.data(), 4) == name; }
};

// The box whose header starts at `offset`, inside a parent that ends at `parentEnd`. None when
// no complete, sensible header is there.
std::optional<Box> readBox(const ReadAt& readAt, std::uint64_t offset, std::uint64_t parentEnd) {
    if (offset >= parentEnd || parentEnd - offset < 8)
        return std::nullopt;
    std::array<std::uint8_t, 16> header{};
    if (!readExactly(readAt, offset, std::span(header).first(8)))
        return std::nullopt;
    Box box;
    for (int i = 0; i < 4; ++i) box.type[i] = static_cast<char>(header[4 + i]);
    const std::uint64_t available = parentEnd - offset;
    std::uint64_t size = bigEndian32(header.data());
    std::uint64_t headerSize = 8;
    if (size == 1) {
        // The 64-bit size follows the type.
        if (available < 16 || !readExactly(readAt, offset + 8, std::span(header).subspan(8, 8)))
            return std::nullopt;
        size = bigEndian64(header.data() + 8);
        headerSize = 16;
    } else if (size == 0) {
        // The box runs to the end of what holds it.
        size = available;
    }
    if (size < headerSize)
        return std::nullopt;
    // A box claiming more than there is (a cut-off file, a lying size) ends with its parent.
    if (size > available)
        size = available;
    box.contentStart = offset + headerSize;
    box.end = offset + size;
    return box;
}

std::optional<double> durationFromMovieHeader(const ReadAt& readAt, const Box& header) {
    // version (1), flags (3), then for version 0: creation and modification time (4 each),
    // timescale (4), duration (4); for version 1 the times and the duration take 8 each.
    std::array<std::uint8_t, 32> fields{};
    const std::uint64_t length = header.end - header.contentStart;
    if (length < 1 || !readExactly(readAt, header.contentStart, std::span(fields).first(1)))
        return std::nullopt;
    const std::uint8_t version = fields[0];
    const std::size_t needed = version == 0 ? 20 : version == 1 ? 32 : 0;
    if (needed == 0 || length < needed ||
        !readExactly(readAt, header.contentStart, std::span(fields).first(needed))) {
        return std::nullopt;
    }
    std::uint32_t timescale = 0;
    std::uint64_t duration = 0;
    if (version == 0) {
        timescale = bigEndian32(fields.data() + 12);
        duration = bigEndian32(fields.data() + 16);
        if (duration == std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    } else {
        timescale = bigEndian32(fields.data() + 20);
        duration = bigEndian64(fields.data() + 24);
        if (duration == std::numeric_limits<std::uint64_t>::max())
            return std::nullopt;
    }
    if (timescale == 0)
        return std::nullopt;
    return static_cast<double>(duration) / static_cast<double>(timescale);
}

}  // namespace

std::optional<double> movieDurationSeconds(const ReadAt& readAt, std::uint64_t fileSize) {
    std::uint64_t offset = 0;
    for (int top = 0; top < kMaxBoxesPerLevel; ++top) {
        const auto box = readBox(readAt, offset, fileSize);
        if (!box)
            return std::nullopt;
        if (box->is("moov")) {
            std::uint64_t childOffset = box->contentStart;
            for (int child = 0; child < kMaxBoxesPerLevel; ++child) {
                const auto inner = readBox(readAt, childOffset, box->end);
                if (!inner)
                    return std::nullopt;
                if (inner->is("mvhd"))
                    return durationFromMovieHeader(readAt, *inner);
                childOffset = inner->end;
            }
            return std::nullopt;
        }
        offset = box->end;
    }
    return std::nullopt;
}

}  // namespace tallowmere::linux_fs
