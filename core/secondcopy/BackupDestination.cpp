#include "core/secondcopy/BackupDestination.h"

#include <string_view>

namespace tallowmere {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t chunk = (std::uint32_t{bytes[i]} << 16) |
                                    (left > 1 ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (left > 2 ? std::uint32_t{bytes[i + 2]} : 0);
        text += kAlphabet[(chunk >> 18) & 63];
        text += kAlphabet[(chunk >> 12) & 63];
        text += left > 1 ? kAlphabet[(chunk >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[chunk & 63] : '=';
    }
    return text;
}

Bytes fromBase64(const Json& json) {
    const auto text = json.get<std::string>();
    if (text.size() % 4 != 0)
        throw Json::other_error::create(501, "not Base64", &json);
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t chunk = 0;
        int padding = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            std::uint32_t sextet = 0;
            if (c == '=' && i + 4 == text.size() && j >= 2) {
                ++padding;
            } else {
                const auto found = kAlphabet.find(c);
                if (found == std::string_view::npos || padding > 0) {
                    throw Json::other_error::create(501, "not Base64", &json);
                }
                sextet = static_cast<std::uint32_t>(found);
            }
            chunk = (chunk << 6) | sextet;
        }
        bytes.push_back(static_cast<std::uint8_t>(chunk >> 16));
        if (padding < 2)
            bytes.push_back(static_cast<std::uint8_t>(chunk >> 8));
        if (padding < 1)
            bytes.push_back(static_cast<std::uint8_t>(chunk));
    }
    return bytes;
}

}  // namespace

void to_json(Json& json, const BackupDestination& destination) {
    json = Json{{"id", destination.id},
                {"displayName", destination.displayName},
                {"status", destination.status},
                {"isSelected", destination.isSelected},
                {"isRemovable", destination.isRemovable},
                {"selectedAt", destination.selectedAt},
                {"updatedAt", destination.updatedAt}};
    putOptional(json, "path", destination.path);
    if (destination.bookmarkData)
        json["bookmarkData"] = base64(*destination.bookmarkData);
    putOptional(json, "availableBytes", destination.availableBytes);
    putOptional(json, "volumeName", destination.volumeName);
    putOptional(json, "warningMessage", destination.warningMessage);
    putOptional(json, "lastSeenAt", destination.lastSeenAt);
}

void from_json(const Json& json, BackupDestination& destination) {
    json.at("id").get_to(destination.id);
    json.at("displayName").get_to(destination.displayName);
    destination.path = getOptional<std::string>(json, "path");
    const auto bookmark = json.find("bookmarkData");
    destination.bookmarkData.reset();
    if (bookmark != json.end() && !bookmark->is_null())
        destination.bookmarkData = fromBase64(*bookmark);
    destination.availableBytes = getOptional<std::int64_t>(json, "availableBytes");
    json.at("status").get_to(destination.status);
    json.at("isSelected").get_to(destination.isSelected);
    json.at("isRemovable").get_to(destination.isRemovable);
    destination.volumeName = getOptional<std::string>(json, "volumeName");
    destination.warningMessage = getOptional<std::string>(json, "warningMessage");
    json.at("selectedAt").get_to(destination.selectedAt);
    destination.lastSeenAt = getOptional<Date>(json, "lastSeenAt");
    json.at("updatedAt").get_to(destination.updatedAt);
}

}  // namespace tallowmere
