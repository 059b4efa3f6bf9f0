#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tallowmere {

// A random (version 4) UUID. Its text form is the canonical 8-4-4-4-12 layout with
// upper-case hexadecimal digits; that text is what the store and exports hold.
class Uuid {
public:
    // The nil UUID; real identifiers come from random().
    Uuid() = default;

    static Uuid random();

    // Makes every element a new random UUID with one call to the generator, which costs far
    // less than a random() call per element when many are needed at once.
    static void fillRandom(std::span<Uuid> uuids);

    // Accepts exactly 36 characters in the canonical layout, hexadecimal digits in
    // either case; anything else gives no value.
    static std::optional<Uuid> fromString(std::string_view text);

    // Parses text, or makes a new random UUID when the text is not a UUID. Readers of
    // stored rows use this for required identifier columns.
    static Uuid fromStringOrRandom(std::string_view text);

    std::string toString() const;

    auto operator<=>(const Uuid&) const = default;

private:
    std::array<std::uint8_t, 16> m_bytes{};
};

}  // namespace tallowmere
