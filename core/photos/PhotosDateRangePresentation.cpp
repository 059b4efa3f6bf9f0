#include "core/photos/PhotosDateRangePresentation.h"

namespace tallowmere {

PhotosDateRangePresentation PhotosDateRangePresentation::make(
    std::optional<Date> oldest, std::optional<Date> newest, Date now,
    const std::function<std::string(Date)>& formatter) {
    if (!oldest || !newest)
        return {"Unknown", std::nullopt, false};
    constexpr double kOneDay = 86'400;
    if (*newest > now.addingSeconds(kOneDay)) {
        return {"Oldest: " + formatter(*oldest),
                "Future-dated item detected: " + formatter(*newest) +
                    ". This can happen when a camera or imported file has the wrong date.",
                true};
    }
    return {formatter(*oldest) + " to " + formatter(*newest), std::nullopt, false};
}

}  // namespace tallowmere
