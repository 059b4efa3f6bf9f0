#include "core/platform/Uuid.h"

#include <sys/random.h>

#include <cerrno>

#include <algorithm>
#include <random>
#include <vector>

namespace tallowmere {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

Uuid Uuid::random() {
    Uuid uuid;
    fillRandom(std::span<Uuid>(&uuid, 1));
    return uuid;
}

void Uuid::fillRandom(std::span<Uuid> uuids) {
    if (uuids.empty())
        return;
    std::vector<std::uint8_t> bytes(uuids.size() * 16);
    // The kernel's generator directly: no per-thread generator state to set up on every
    // worker thread that makes an id.
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    if (filled < bytes.size()) {
        // Only a kernel without getrandom() gets here.
        std::random_device device;
        for (auto& byte : std::span(bytes).subspan(filled))
            byte = static_cast<std::uint8_t>(device());
    }
    for (std::size_t i = 0; i < uuids.size(); ++i) {
        auto& uuid = uuids[i].m_bytes;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * 16), 16, uuid.begin());
        // Version 4, variant 1.
        uuid[6] = static_cast<std::uint8_t>((uuid[6] & 0x0F) | 0x40);
        uuid[8] = static_cast<std::uint8_t>((uuid[8] & 0x3F) | 0x80);
    }
}

std::optional<Uuid> Uuid::fromString(std::string_view text) {
    if (text.size() != 36)
        return std::nullopt;
    Uuid uuid;
    std::size_t byteIndex = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        uuid.m_bytes[byteIndex++] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
    }
    return uuid;
}

Uuid Uuid::fromStringOrRandom(std::string_view text) {
    if (auto parsed = fromString(text))
        return *parsed;
    return random();
}

std::string Uuid::toString() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(kDigits[m_bytes[i] >> 4]);
        text.push_back(kDigits[m_bytes[i] & 0x0F]);
    }
    return text;
}

}  // namespace tallowmere
