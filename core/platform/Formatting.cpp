#include "core/platform/Formatting.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace tallowmere {

std::string EnglishFormatting::count(std::int64_t value) const {
    const bool negative = value < 0;
    // Work in unsigned so that the lowest int64 does not overflow when negated.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return negative ? "-" + grouped : grouped;
}

std::string EnglishFormatting::byteCount(std::int64_t bytes) const {
    static constexpr std::array<const char*, 6> kUnits{"KB", "MB", "GB", "TB", "PB", "EB"};
    if (bytes < 1000 && bytes > -1000)
        return count(bytes) + (bytes == 1 ? " byte" : " bytes");
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    value /= 1000;
    while (std::fabs(value) >= 999.95 && unit + 1 < kUnits.size()) {
        value /= 1000;
        ++unit;
    }
    char buffer[32];
    // Kilobytes are shown whole; larger units with one decimal, as file sizes usually are.
    if (unit == 0) {
        std::snprintf(buffer, sizeof buffer, "%.0f %s", value, kUnits[unit]);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.1f %s", value, kUnits[unit]);
    }
    return buffer;
}

std::string EnglishFormatting::dateTime(Date date) const {
    using namespace std::chrono;
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto whole =
        sys_seconds{seconds{static_cast<long long>(std::floor(date.secondsSince1970()))}};
    const auto day = floor<days>(whole);
    const year_month_day ymd{day};
    const hh_mm_ss time{whole - day};
    const int hour24 = static_cast<int>(time.hours().count());
    const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %u, %d at %d:%02d %s",
                  kMonths[static_cast<unsigned>(ymd.month()) - 1], static_cast<unsigned>(ymd.day()),
                  static_cast<int>(ymd.year()), hour12, static_cast<int>(time.minutes().count()),
                  hour24 < 12 ? "AM" : "PM");
    return buffer;
}

}  // namespace tallowmere
