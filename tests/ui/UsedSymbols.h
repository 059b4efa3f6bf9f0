#pragma once

#include <string_view>
#include <vector>

namespace tallowmere::testing {

// Every symbol name the screens, the sidebar, the dashboard guidance and the status item
// ask for, written out here independently of the drawing table.
inline const std::vector<std::string_view>& usedSymbolNames() {
    static const std::vector<std::string_view> names{
        "arrow.clockwise",
        "arrow.counterclockwise.circle",
        "arrow.down.circle",
        "arrow.down.circle.fill",
        "arrow.right",
        "arrow.triangle.2.circlepath",
        "arrow.triangle.2.circlepath.circle.fill",
        "arrow.up.circle.fill",
        "calendar.badge.exclamationmark",
        "checkmark.circle",
        "checkmark.circle.fill",
        "checkmark.seal",
        "checkmark.seal.fill",
        "checkmark.shield",
        "checkmark.shield.fill",
        "chevron.down",
        "chevron.right",
        "clock",
        "clock.badge.exclamationmark.fill",
        "doc.badge.gearshape",
        "doc.on.doc.fill",
        "doc.text",
        "doc.text.magnifyingglass",
        "exclamationmark.triangle",
        "exclamationmark.triangle.fill",
        "externaldrive",
        "externaldrive.fill",
        "folder",
        "folder.badge.plus",
        "gauge.with.dots.needle.bottom.50percent",
        "gearshape",
        "icloud",
        "icloud.and.arrow.down",
        "icloud.fill",
        "internaldrive",
        "lock.fill",
        "lock.shield",
        "lock.shield.fill",
        "macwindow",
        "minus.circle",
        "minus.circle.fill",
        "number.circle.fill",
        "pause.circle.fill",
        "pause.fill",
        "photo.on.rectangle",
        "photo.on.rectangle.angled",
        "photo.stack",
        "play.fill",
        "questionmark.circle",
        "questionmark.circle.fill",
        "questionmark.folder.fill",
        "ruler.fill",
        "shippingbox",
        "sidebar.leading",
        "square.and.arrow.down",
        "xmark.circle",
        "xmark.octagon.fill",
    };
    return names;
}

}  // namespace tallowmere::testing
