#include "core/platform/Json.h"

namespace tallowmere {

void to_json(Json& json, const Uuid& uuid) {
    json = uuid.toString();
}

void from_json(const Json& json, Uuid& uuid) {
    const auto parsed = Uuid::fromString(json.get<std::string>());
    if (!parsed)
        throw Json::other_error::create(501, "not a UUID", &json);
    uuid = *parsed;
}

void to_json(Json& json, const Date& date) {
    json = date.iso8601();
}

void from_json(const Json& json, Date& date) {
    const auto parsed = Date::fromIso8601(json.get<std::string>());
    if (!parsed)
        throw Json::other_error::create(501, "not an ISO 8601 date", &json);
    date = *parsed;
}

std::string encodeJson(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tallowmere
