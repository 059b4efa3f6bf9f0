#pragma once

#include <cstdint>
#include <vector>

namespace tallowmere {

// Opaque binary data, such as a folder bookmark.
using Bytes = std::vector<std::uint8_t>;

}  // namespace tallowmere
