#include "app/LocaleFormatting.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

TEST(LocaleFormattingTest, GroupsCountsAndSizesInTheGivenLocale) {
    const LocaleFormatting english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(english.count(2113), "2,113");
    EXPECT_EQ(english.count(-1234567), "-1,234,567");
    EXPECT_EQ(english.byteCount(1'500'000), "1.5 MB");

    const LocaleFormatting german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.count(2113), "2.113");
    EXPECT_EQ(german.byteCount(1'500'000), "1,5 MB");
}

}  // namespace
}  // namespace tallowmere
