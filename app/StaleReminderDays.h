#pragma once

#include <string_view>

// The "remind me when the backup is older than" setting, stored as decimal text.
namespace tallowmere::StaleReminderDays {

inline constexpr int kDefault = 7;

// Base-10 whole number with an optional leading "+" or "-", nothing else around it;
// kDefault for empty text, any other text and numbers outside int. Not clamped.
int fromStoredText(std::string_view text);

// Below 2 becomes 1, above 30 becomes 30.
constexpr int clamped(int days) {
    return days < 2 ? 1 : (days > 30 ? 30 : days);
}

}  // namespace tallowmere::StaleReminderDays
