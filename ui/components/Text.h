#pragma once

#include <QString>
#include <string_view>

namespace tallowmere {

// Text from the model (UTF-8 bytes) for display; bytes that are not UTF-8 are replaced,
// never thrown on, so a file name in another encoding still shows.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tallowmere
