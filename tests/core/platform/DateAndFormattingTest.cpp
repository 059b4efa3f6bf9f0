#include <gtest/gtest.h>

#include "core/platform/Date.h"
#include "core/platform/Formatting.h"
#include "core/platform/Json.h"

namespace tallowmere {
namespace {

TEST(DateTest, Iso8601DropsTheFractionAndRoundTrips) {
    struct Case {
        double seconds;
        const char* text;
    };
    for (const Case& c :
         {Case{0, "1970-01-01T00:00:00Z"}, Case{1'765'444'205.75, "2025-12-11T09:10:05Z"},
          Case{951'782'400, "2000-02-29T00:00:00Z"}, Case{-0.5, "1969-12-31T23:59:59Z"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Date(c.seconds).iso8601(), c.text);
        const auto parsed = Date::fromIso8601(c.text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->iso8601(), c.text);
    }
    EXPECT_EQ(Date::fromIso8601("2025-12-11T09:10:05.250Z")->secondsSince1970(), 1'765'444'205.25);
}

TEST(DateTest, RejectsMalformedIso8601) {
    for (const char* bad :
         {"", "2025-12-11", "2025-12-11T09:10:05", "2025-13-11T09:10:05Z", "2025-02-30T09:10:05Z",
          "2025-12-11 09:10:05Z", "2025-12-11T09:10:05+01:00", "2025-12-11T24:00:00Z"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Date::fromIso8601(bad));
    }
}

TEST(EnglishFormattingTest, GroupsCountsAndSizesBytesInFileStyle) {
    const EnglishFormatting formatting;
    EXPECT_EQ(formatting.count(0), "0");
    EXPECT_EQ(formatting.count(999), "999");
    EXPECT_EQ(formatting.count(1204), "1,204");
    EXPECT_EQ(formatting.count(2113), "2,113");
    EXPECT_EQ(formatting.count(-1234567), "-1,234,567");
    EXPECT_EQ(formatting.count(INT64_MIN), "-9,223,372,036,854,775,808");
    EXPECT_EQ(formatting.byteCount(1), "1 byte");
    EXPECT_EQ(formatting.byteCount(999), "999 bytes");
    EXPECT_EQ(formatting.byteCount(1500), "2 KB");
    EXPECT_EQ(formatting.byteCount(1'500'000), "1.5 MB");
    EXPECT_EQ(formatting.byteCount(1'000'000'000), "1.0 GB");
    EXPECT_EQ(formatting.byteCount(999'999), "1.0 MB");
    EXPECT_EQ(formatting.dateTime(Date(1'765'444'205)), "Dec 11, 2025 at 9:10 AM");
    EXPECT_EQ(formatting.dateTime(Date(1'765'497'600)), "Dec 12, 2025 at 12:00 AM");
}

TEST(JsonTest, ReplacesInvalidUtf8InsteadOfThrowing) {
    const Json json{{"name", std::string("caf\xE9.txt")}};
    EXPECT_EQ(encodeJson(json), "{\n  \"name\": \"caf\xEF\xBF\xBD.txt\"\n}");
}

}  // namespace
}  // namespace tallowmere
