#pragma once

#include <QColor>
#include <string_view>

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

}  // namespace tallowmere
