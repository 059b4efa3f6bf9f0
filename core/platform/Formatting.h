#pragma once

#include <cstdint>
#include <string>

#include "core/platform/Date.h"

namespace tallowmere {

// How counts, byte sizes and dates are shown to the user. The application installs one
// that follows the user's locale; core code and its tests use EnglishFormatting.
// Implementations are safe to call from any thread.
class Formatting {
public:
    virtual ~Formatting() = default;

    // A whole number with grouping: 1204 -> "1,204".
    virtual std::string count(std::int64_t value) const = 0;
    // A byte size in file style (powers of 1000): 1500000 -> "1.5 MB".
    virtual std::string byteCount(std::int64_t bytes) const = 0;
    // Medium date with short time.
    virtual std::string dateTime(Date date) const = 0;
};

// Fixed English formatting in UTC, the same on every machine.
class EnglishFormatting final : public Formatting {
public:
    std::string count(std::int64_t value) const override;
    std::string byteCount(std::int64_t bytes) const override;
    // "Dec 11, 2026 at 9:05 AM"
    std::string dateTime(Date date) const override;
};

}  // namespace tallowmere
