#include "ui/theme/StatePresentation.h"

namespace tallowmere {

StatePresentation statePresentation(SafetyState state) {
    switch (state) {
        case SafetyState::protected_:
            return {"checkmark.shield.fill", ThemeColor::success};
        case SafetyState::needsAttention:
            return {"exclamationmark.triangle.fill", ThemeColor::amber};
        case SafetyState::cloudOnly:
            return {"icloud.fill", ThemeColor::danger};
        case SafetyState::stuckSyncing:
            return {"arrow.triangle.2.circlepath.circle.fill", ThemeColor::danger};
        case SafetyState::backupStale:
            return {"clock.badge.exclamationmark.fill", ThemeColor::danger};
        case SafetyState::unknown:
            return {"questionmark.circle.fill", ThemeColor::secondaryLabel};
    }
    return {"questionmark.circle.fill", ThemeColor::secondaryLabel};
}

QColor stateColor(SafetyState state, const QPalette& palette) {
    return TMTheme::color(statePresentation(state).color, palette);
}

QColor stateColor(SafetyState state) {
    return TMTheme::color(statePresentation(state).color);
}

StatePresentation fileStatePresentation(ICloudFileState state) {
    switch (state) {
        case ICloudFileState::localCurrent:
            return {"checkmark.circle.fill", ThemeColor::success};
        case ICloudFileState::downloaded:
            return {"arrow.down.circle.fill", ThemeColor::success};
        case ICloudFileState::cloudOnly:
            return {"icloud.fill", ThemeColor::amber};
        case ICloudFileState::waitingToUpload:
            return {"arrow.up.circle.fill", ThemeColor::amber};
        case ICloudFileState::waitingToDownload:
            return {"arrow.down.circle", ThemeColor::amber};
        case ICloudFileState::possibleSyncIssue:
            return {"exclamationmark.triangle.fill", ThemeColor::danger};
        case ICloudFileState::excluded:
            return {"minus.circle.fill", ThemeColor::secondaryLabel};
        case ICloudFileState::unknown:
            return {"questionmark.circle.fill", ThemeColor::secondaryLabel};
    }
    return {"questionmark.circle.fill", ThemeColor::secondaryLabel};
}

QColor fileStateColor(ICloudFileState state, const QPalette& palette) {
    return TMTheme::color(fileStatePresentation(state).color, palette);
}

}  // namespace tallowmere
