#include "core/platform/Date.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tallowmere {
namespace {

bool readDigits(std::string_view text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size())
        return false;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

}  // namespace

std::string Date::iso8601() const {
    using namespace std::chrono;
    const auto whole = sys_seconds{seconds{static_cast<long long>(std::floor(m_seconds))}};
    const auto day = floor<days>(whole);
    const year_month_day ymd{day};
    const hh_mm_ss time{whole - day};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return buffer;
}

std::optional<Date> Date::fromIso8601(std::string_view text) {
    using namespace std::chrono;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!readDigits(text, 0, 4, y) || text.size() < 20 || text[4] != '-' ||
        !readDigits(text, 5, 2, mo) || text[7] != '-' || !readDigits(text, 8, 2, d) ||
        text[10] != 'T' || !readDigits(text, 11, 2, h) || text[13] != ':' ||
        !readDigits(text, 14, 2, mi) || text[16] != ':' || !readDigits(text, 17, 2, s)) {
        return std::nullopt;
    }
    double fraction = 0;
    std::size_t at = 19;
    if (text[at] == '.') {
        double scale = 0.1;
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) {
            fraction += (text[at] - '0') * scale;
        }
    }
    if (at + 1 != text.size() || text[at] != 'Z')
        return std::nullopt;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)},
                             day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h > 23 || mi > 59 || s > 60)
        return std::nullopt;
    const auto since = sys_days{ymd}.time_since_epoch() + hours{h} + minutes{mi} + seconds{s};
    return Date(static_cast<double>(duration_cast<seconds>(since).count()) + fraction);
}

}  // namespace tallowmere
