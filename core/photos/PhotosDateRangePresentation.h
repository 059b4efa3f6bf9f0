#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/platform/Date.h"

namespace tallowmere {

// How the Photos screen shows the creation dates of the library's items.
struct PhotosDateRangePresentation {
    // The text shown.
    std::string value;
    // A warning shown under the value.
    std::optional<std::string> note;
    bool hasFutureDatedItems = false;

    bool operator==(const PhotosDateRangePresentation&) const = default;

    // "Unknown" when either date is absent. A newest date more than one day after `now`
    // counts as future-dated (a camera with the wrong clock): only the oldest date is
    // shown, with a note naming the newest. Otherwise "<oldest> to <newest>".
    static PhotosDateRangePresentation make(std::optional<Date> oldest, std::optional<Date> newest,
                                            Date now,
                                            const std::function<std::string(Date)>& formatter);
};

}  // namespace tallowmere
