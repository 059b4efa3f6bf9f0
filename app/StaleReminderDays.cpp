#include "app/StaleReminderDays.h"

#include <charconv>

namespace tallowmere::StaleReminderDays {

int fromStoredText(std::string_view text) {
    // from_chars takes a leading "-" but not a "+".
    const bool plus = text.starts_with('+');
    if (plus)
        text.remove_prefix(1);
    if (plus && (text.starts_with('-') || text.starts_with('+')))
        return kDefault;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return kDefault;
    return value;
}

}  // namespace tallowmere::StaleReminderDays
