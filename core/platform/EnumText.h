#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tallowmere {

// One case of an enumeration: its raw value (the case name, which the store and the
// exports hold) and the text shown to the user (empty where the enumeration has none).
template <typename E>
struct EnumCase {
    E value;
    std::string_view raw;
    std::string_view display = {};
};

// Specialised next to each enumeration with `static constexpr std::array kCases`,
// listing every case in declaration order. All text of an enumeration lives there.
template <typename E>
struct EnumTable;

template <typename E>
concept TabledEnum = requires {
    EnumTable<E>::kCases;
};

template <TabledEnum E>
constexpr const auto& allCases() {
    return EnumTable<E>::kCases;
}

template <TabledEnum E>
constexpr std::size_t caseIndex(E value) {
    return static_cast<std::size_t>(value);
}

template <TabledEnum E>
constexpr std::string_view rawValue(E value) {
    return EnumTable<E>::kCases[caseIndex(value)].raw;
}

template <TabledEnum E>
constexpr std::string_view displayName(E value) {
    return EnumTable<E>::kCases[caseIndex(value)].display;
}

// The case whose raw value is exactly `raw` (same letter case); no value otherwise.
template <TabledEnum E>
constexpr std::optional<E> fromRaw(std::string_view raw) {
    for (const auto& entry : EnumTable<E>::kCases) {
        if (entry.raw == raw)
            return entry.value;
    }
    return std::nullopt;
}

template <TabledEnum E>
void to_json(nlohmann::json& json, E value) {
    json = std::string(rawValue(value));
}

template <TabledEnum E>
void from_json(const nlohmann::json& json, E& value) {
    const auto parsed = fromRaw<E>(json.get<std::string>());
    if (!parsed)
        throw nlohmann::json::other_error::create(501, "unknown raw value", &json);
    value = *parsed;
}

}  // namespace tallowmere
