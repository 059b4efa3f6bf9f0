#include "app/LocaleFormatting.h"

#include <gtest/gtest.h>

#include <QDateTime>

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

TEST(LocaleFormattingTest, DatesAreMediumLengthInTheGivenLocale) {
    // Local time, as the formatter shows it.
    const QDateTime when(QDate(2025, 3, 12), QTime(15, 4));
    const Date date = Date(static_cast<double>(when.toSecsSinceEpoch()));
    const struct {
        QLocale locale;
        const char* date;
        const char* time;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "Mar 12, 2025 ", "3:04"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "12 Mar 2025 ", "15:04"},
        {QLocale(QLocale::German, QLocale::Germany), "12. März 2025 ", "15:04"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.locale.name().toStdString());
        const LocaleFormatting formatting(example.locale);
        const std::string text = formatting.dateTime(date);
        EXPECT_EQ(text.rfind(example.date, 0), 0u) << text;
        EXPECT_NE(text.find(example.time), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tallowmere
