#include "ui/theme/StatePresentation.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

TEST(StatePresentationTest, GivesEachStateItsSymbolAndColourRole) {
    struct Case {
        SafetyState state;
        std::string_view symbol;
        ThemeColor color;
    };
    const Case cases[] = {
        {SafetyState::protected_, "checkmark.shield.fill", ThemeColor::success},
        {SafetyState::needsAttention, "exclamationmark.triangle.fill", ThemeColor::amber},
        {SafetyState::cloudOnly, "icloud.fill", ThemeColor::danger},
        {SafetyState::stuckSyncing, "arrow.triangle.2.circlepath.circle.fill", ThemeColor::danger},
        {SafetyState::backupStale, "clock.badge.exclamationmark.fill", ThemeColor::danger},
        {SafetyState::unknown, "questionmark.circle.fill", ThemeColor::secondaryLabel},
    };
    ASSERT_EQ(std::size(cases), allCases<SafetyState>().size());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.state)));
        EXPECT_EQ(statePresentation(c.state), (StatePresentation{c.symbol, c.color}));
        EXPECT_TRUE(Symbols::contains(statePresentation(c.state).symbolName));
        EXPECT_EQ(stateColor(c.state), TMTheme::color(c.color));
    }
}

TEST(StatePresentationTest, TheStateColoursAreEasyToTellApart) {
    const QColor green = TMTheme::color(ThemeColor::success);
    const QColor orange = TMTheme::color(ThemeColor::amber);
    const QColor red = TMTheme::color(ThemeColor::danger);
    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel);
    EXPECT_GT(green.green(), green.red());
    EXPECT_GT(red.red(), 2 * red.green());
    EXPECT_GT(orange.red(), orange.green());
    EXPECT_GT(orange.green(), orange.blue());
    EXPECT_EQ(secondary.red(), secondary.green()) << "a neutral grey on the standard palette";
    const QColor colours[] = {green, orange, red, secondary};
    for (std::size_t i = 0; i < std::size(colours); ++i) {
        for (std::size_t j = i + 1; j < std::size(colours); ++j) EXPECT_NE(colours[i], colours[j]);
    }
}

TEST(TMThemeTest, NamedColoursFollowThePalette) {
    QPalette light;
    light.setColor(QPalette::Window, QColor(236, 236, 236));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Mid, QColor(160, 160, 160));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Mid, QColor(90, 90, 90));

    EXPECT_EQ(TMTheme::color(ThemeColor::background, light), QColor(236, 236, 236));
    EXPECT_EQ(TMTheme::color(ThemeColor::background, dark), QColor(40, 40, 40));

    const QColor separator = TMTheme::color(ThemeColor::separator, light);
    EXPECT_EQ(separator.rgb(), QColor(160, 160, 160).rgb());
    EXPECT_NEAR(separator.alphaF(), 0.55, 0.01);

    for (const QPalette& palette : {light, dark}) {
        const QColor trust = TMTheme::color(ThemeColor::trust, palette);
        EXPECT_NEAR(trust.redF(), 0.11, 0.001);
        EXPECT_NEAR(trust.greenF(), 0.47, 0.001);
        EXPECT_NEAR(trust.blueF(), 0.39, 0.001);
        const QColor sky = TMTheme::color(ThemeColor::sky, palette);
        EXPECT_NEAR(sky.redF(), 0.16, 0.001);
        EXPECT_NEAR(sky.greenF(), 0.38, 0.001);
        EXPECT_NEAR(sky.blueF(), 0.84, 0.001);
    }

    // Secondary text sits between the text colour and the window colour in both modes.
    EXPECT_GT(TMTheme::color(ThemeColor::secondaryLabel, light).lightness(), 0);
    EXPECT_LT(TMTheme::color(ThemeColor::secondaryLabel, light).lightness(), 236);
    EXPECT_GT(TMTheme::color(ThemeColor::secondaryLabel, dark).lightness(), 40);
    EXPECT_LT(TMTheme::color(ThemeColor::secondaryLabel, dark).lightness(), 255);

    // A dark window selects the brighter dark variants of the system-like colours.
    EXPECT_FALSE(TMTheme::isDark(light));
    EXPECT_TRUE(TMTheme::isDark(dark));
    EXPECT_NE(TMTheme::color(ThemeColor::danger, light), TMTheme::color(ThemeColor::danger, dark));
    EXPECT_GE(TMTheme::color(ThemeColor::danger, dark).lightness(),
              TMTheme::color(ThemeColor::danger, light).lightness());
}

}  // namespace
}  // namespace tallowmere
