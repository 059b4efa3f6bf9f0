#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/platform/Date.h"

namespace tallowmere::linux_fs {

// What a photo's embedded EXIF and XMP say about it.
struct ImageMetadata {
    // EXIF DateTimeOriginal, in UTC: with OffsetTimeOriginal when the file gives one, else
    // read as this machine's local time.
    std::optional<Date> dateTimeOriginal;
    // The EXIF user comment is "Screenshot".
    bool hasScreenshotComment = false;
    // XMP xmp:Rating is 5.
    bool isRatedFive = false;

    bool operator==(const ImageMetadata&) const = default;
};

// Reads the metadata of the image file open for reading at `fd` (`size` bytes long) with
// exiv2, through an input that can only read: nothing is ever written to the file, and the
// file offset of `fd` is left alone (all reads are positioned). Pixels are never decoded.
//
// A file exiv2 does not recognise, or that is damaged or cut short, gives an empty result;
// nothing is thrown. Safe to call from several threads at once.
ImageMetadata readImageMetadata(int fd, std::uint64_t size);

// "YYYY:MM:DD HH:MM:SS" (or with "-" in the date and "T" before the time) as a point in time;
// with `offset` ("+HH:MM" / "-HH:MM") the text is that zone's time, without it this machine's
// local time. None for text that is not such a date or names an impossible one, such as the
// all-blank or all-zero dates cameras write when their clock is unset.
std::optional<Date> exifDateTime(std::string_view text, std::optional<std::string_view> offset);

}  // namespace tallowmere::linux_fs
