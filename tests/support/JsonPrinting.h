#pragma once

#include <ostream>

#include "core/platform/Json.h"

namespace tallowmere {

// GoogleTest prints a record or enumeration of ours through its JSON form, so that a
// failed comparison shows field names and values instead of raw bytes.
template <typename T>
requires requires(Json& json, const T& value) {
    to_json(json, value);
}
void PrintTo(const T& value, std::ostream* out) {
    Json json;
    to_json(json, value);
    *out << json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tallowmere
