#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// A point in time as seconds since 1970-01-01 00:00:00 UTC, fraction kept. Stored as
// REAL in the database and written to JSON as ISO 8601 UTC text with whole seconds.
class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double secondsSince1970) : m_seconds(secondsSince1970) {}

    constexpr double secondsSince1970() const { return m_seconds; }
    constexpr Date addingSeconds(double seconds) const { return Date(m_seconds + seconds); }
    constexpr double secondsSince(Date earlier) const { return m_seconds - earlier.m_seconds; }

    // "2026-12-11T09:30:05Z": the fraction is dropped (rounded toward the past).
    std::string iso8601() const;

    // Reads "YYYY-MM-DDTHH:MM:SSZ", optionally with a fraction of a second; no value
    // for any other text.
    static std::optional<Date> fromIso8601(std::string_view text);

    constexpr auto operator<=>(const Date&) const = default;

private:
    double m_seconds = 0;
};

}  // namespace tallowmere
