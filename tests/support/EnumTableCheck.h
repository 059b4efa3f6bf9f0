#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/platform/Json.h"

namespace tallowmere::testing {

template <typename E>
struct ExpectedCase {
    E value;
    std::string raw;
    std::string display;
};

// Checks an enumeration against the full list of its cases in declaration order: raw
// values and display names, the round trip through raw text and JSON, and that text
// which is not exactly a raw value (other letter case, a capital first letter, unknown,
// empty) gives no value.
template <typename E>
void expectEnumCases(const std::vector<ExpectedCase<E>>& expected) {
    const auto& cases = allCases<E>();
    ASSERT_EQ(cases.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& want = expected[i];
        SCOPED_TRACE(want.raw);
        EXPECT_EQ(cases[i].value, want.value);
        EXPECT_EQ(caseIndex(want.value), i);
        EXPECT_EQ(rawValue(want.value), want.raw);
        EXPECT_EQ(displayName(want.value), want.display);
        EXPECT_EQ(fromRaw<E>(want.raw), want.value);

        const Json encoded = want.value;
        EXPECT_EQ(encoded, Json(want.raw));
        EXPECT_EQ(encoded.get<E>(), want.value);

        std::string upper = want.raw;
        for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_FALSE(fromRaw<E>(upper));
        if (std::string capitalised = want.raw; !capitalised.empty()) {
            capitalised[0] =
                static_cast<char>(std::toupper(static_cast<unsigned char>(capitalised[0])));
            EXPECT_FALSE(fromRaw<E>(capitalised));
        }
        EXPECT_FALSE(fromRaw<E>(want.raw + " "));
        EXPECT_FALSE(fromRaw<E>(want.display == want.raw ? want.raw + "x" : want.display));
    }
    EXPECT_FALSE(fromRaw<E>(""));
    EXPECT_FALSE(fromRaw<E>("bogus"));
    EXPECT_THROW(Json("bogus").get<E>(), Json::exception);
}

}  // namespace tallowmere::testing
