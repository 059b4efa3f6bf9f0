#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "core/platform/Date.h"
#include "core/platform/EnumText.h"
#include "core/platform/Uuid.h"

// JSON written by the program: field names as keys, enumerations as raw values, UUIDs
// as upper-case text, dates as ISO 8601 UTC with whole seconds, absent optionals left
// out, keys sorted (nlohmann::json keeps objects sorted) and pretty-printed.
namespace tallowmere {

using Json = nlohmann::json;

void to_json(Json& json, const Uuid& uuid);
void from_json(const Json& json, Uuid& uuid);
void to_json(Json& json, const Date& date);
void from_json(const Json& json, Date& date);

// Writes the key only when the value is present.
template <typename T>
void putOptional(Json& json, const char* key, const std::optional<T>& value) {
    if (value)
        json[key] = *value;
}

// A missing key or null reads as absent.
template <typename T>
std::optional<T> getOptional(const Json& json, const char* key) {
    const auto found = json.find(key);
    if (found == json.end() || found->is_null())
        return std::nullopt;
    return found->template get<T>();
}

// Pretty-printed text with two-space indentation. Bytes that are not valid UTF-8
// (a file name from a foreign disk, say) are replaced, never thrown on.
std::string encodeJson(const Json& json);

}  // namespace tallowmere
