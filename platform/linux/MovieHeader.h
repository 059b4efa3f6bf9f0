#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace tallowmere::linux_fs {

// Fills the front of `buffer` with the file's bytes from `offset` and returns how many were
// read (fewer at the end of the file); none when reading failed.
using ReadAt =
    std::function<std::optional<std::size_t>(std::uint64_t offset, std::span<std::uint8_t> buffer)>;

// The length in seconds that an MP4 or QuickTime file's movie header ('mvhd' inside the
// top-level 'moov' box, version 0 or 1) gives: its duration divided by its timescale.
//
// Only box headers are read on the way (the top-level boxes and the children of 'moov'), so
// the media data is never touched however large it is. Sizes in the file are not trusted: a
// box may not reach beyond its parent or the end of the file, a size below its own header
// ends the search, and at most a fixed number of boxes is looked at.
//
// None when the file is not such a movie, has no movie header, is cut off before the header's
// fields, reports a timescale of 0 or the "unknown" duration (all bits set), or a read fails.
std::optional<double> movieDurationSeconds(const ReadAt& readAt, std::uint64_t fileSize);

}  // namespace tallowmere::linux_fs
