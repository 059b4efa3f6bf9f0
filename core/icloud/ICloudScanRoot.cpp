#include "core/icloud/ICloudScanRoot.h"

#include <string_view>

namespace tallowmere {
namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encoded(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t group =
            std::uint32_t(bytes[i]) << 16 | std::uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kBase64Alphabet[(group >> shift) & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = std::uint32_t(bytes[i]) << 16;
        if (rest == 2)
            group |= std::uint32_t(bytes[i + 1]) << 8;
        text += kBase64Alphabet[(group >> 18) & 0x3F];
        text += kBase64Alphabet[(group >> 12) & 0x3F];
        text += rest == 2 ? kBase64Alphabet[(group >> 6) & 0x3F] : '=';
        text += '=';
    }
    return text;
}

Bytes base64Decoded(const Json& json) {
    const auto& text = json.get_ref<const std::string&>();
    if (text.size() % 4 != 0)
        throw Json::other_error::create(501, "not base64 text", &json);
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '=') {
            // Padding only at the end, at most two characters.
            if (text.size() - i > 2)
                throw Json::other_error::create(501, "not base64 text", &json);
            ++padding;
            continue;
        }
        const auto index = kBase64Alphabet.find(c);
        if (index == std::string_view::npos || padding > 0) {
            throw Json::other_error::create(501, "not base64 text", &json);
        }
        group = group << 6 | static_cast<std::uint32_t>(index);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    return bytes;
}

}  // namespace

void to_json(Json& json, const ICloudScanRoot& root) {
    json = Json{{"id", root.id},
                {"path", root.path},
                {"displayName", root.displayName},
                {"kind", root.kind},
                {"isDetected", root.isDetected},
                {"isSelected", root.isSelected},
                {"createdAt", root.createdAt}};
    if (root.bookmarkData)
        json["bookmarkData"] = base64Encoded(*root.bookmarkData);
    putOptional(json, "lastScannedAt", root.lastScannedAt);
}

void from_json(const Json& json, ICloudScanRoot& root) {
    json.at("id").get_to(root.id);
    json.at("path").get_to(root.path);
    json.at("displayName").get_to(root.displayName);
    json.at("kind").get_to(root.kind);
    json.at("isDetected").get_to(root.isDetected);
    json.at("isSelected").get_to(root.isSelected);
    const auto bookmark = json.find("bookmarkData");
    root.bookmarkData = bookmark == json.end() || bookmark->is_null()
                            ? std::nullopt
                            : std::optional<Bytes>(base64Decoded(*bookmark));
    json.at("createdAt").get_to(root.createdAt);
    root.lastScannedAt = getOptional<Date>(json, "lastScannedAt");
}

}  // namespace tallowmere
