#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

std::string_view systemSymbolName(MenuBarHealth health) {
    switch (health) {
        case MenuBarHealth::protected_:
            return "checkmark.shield.fill";
        case MenuBarHealth::attention:
            return "exclamationmark.triangle.fill";
        case MenuBarHealth::unsafe:
            return "xmark.octagon.fill";
        case MenuBarHealth::paused:
            return "pause.circle.fill";
    }
    return {};
}

std::string_view accessibilityDescription(MenuBarHealth health) {
    switch (health) {
        case MenuBarHealth::protected_:
            return "Tallowmere status: protected";
        case MenuBarHealth::attention:
            return "Tallowmere status: needs attention";
        case MenuBarHealth::unsafe:
            return "Tallowmere status: unsafe or stale";
        case MenuBarHealth::paused:
            return "Tallowmere status: scan paused or cannot verify";
    }
    return {};
}

}  // namespace tallowmere
