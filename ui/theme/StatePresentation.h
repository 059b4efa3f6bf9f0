#pragma once

#include <QColor>
#include <string_view>

#include "core/icloud/ICloudFileState.h"
#include "core/safety/SafetyVocabulary.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

// How a safety state is shown wherever one appears: its symbol and its colour role.
struct StatePresentation {
    std::string_view symbolName;
    ThemeColor color;

    bool operator==(const StatePresentation&) const = default;
};

StatePresentation statePresentation(SafetyState state);

// The state's colour in the given palette, or in the application's.
QColor stateColor(SafetyState state, const QPalette& palette);
QColor stateColor(SafetyState state);

// How one scanned item's state is shown in the iCloud Drive results: green for a local
// copy, orange for cloud-only and waiting items, red for a possible sync issue, secondary
// for excluded and unknown items.
StatePresentation fileStatePresentation(ICloudFileState state);
QColor fileStateColor(ICloudFileState state, const QPalette& palette);

}  // namespace tallowmere
