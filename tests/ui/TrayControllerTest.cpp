#include "ui/shell/TrayController.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include "tests/ui/UiTestSupport.h"

namespace tallowmere {
namespace {

using namespace testing;

// The colour most of the icon's visible pixels have.
QColor inkOf(const QIcon& icon) {
    const QImage image =
        icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 255)
                ++counts[pixel.rgb()];
        }
    }
    if (counts.empty())
        return {};
    return QColor::fromRgb(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                               return a.second < b.second;
                           })->first);
}

TEST(TrayControllerTest, IconTintAndTooltipFollowTheDashboardHealth) {
    struct Case {
        SafetyState overallState;
        MenuBarHealth health;
        const char* symbol;
        ThemeColor tint;
        const char* toolTip;
    };
    const Case cases[] = {
        {SafetyState::protected_, MenuBarHealth::protected_, "checkmark.shield.fill",
         ThemeColor::success, "Tallowmere: Protected"},
        {SafetyState::needsAttention, MenuBarHealth::attention, "exclamationmark.triangle.fill",
         ThemeColor::yellow, "Tallowmere: Needs attention"},
        {SafetyState::cloudOnly, MenuBarHealth::unsafe, "xmark.octagon.fill", ThemeColor::danger,
         "Tallowmere: Unsafe"},
        {SafetyState::unknown, MenuBarHealth::paused, "pause.circle.fill", ThemeColor::gray,
         "Tallowmere: Scan paused"},
    };
    ModelFixture fixture;
    TrayController tray(fixture.model());
    EXPECT_EQ(tray.health(), MenuBarHealth::paused);
    EXPECT_EQ(tray.toolTip(), "Tallowmere: Scan paused");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.toolTip);
        const TrayPresentation presentation = trayPresentation(c.health);
        EXPECT_EQ(presentation.symbolName, c.symbol);
        EXPECT_EQ(presentation.tint, c.tint);
        EXPECT_EQ(presentation.toolTip, c.toolTip);

        fixture.storeScan(c.overallState);
        fixture.refresh();
        ASSERT_EQ(fixture.model().dashboardSnapshot().menuBarHealth, c.health);
        QTRY_COMPARE(tray.health(), c.health);
        EXPECT_EQ(tray.toolTip(), c.toolTip);
        EXPECT_EQ(inkOf(tray.icon()), TMTheme::color(c.tint));
    }
}

TEST(TrayControllerTest, FollowsTheHealthOnALaterTurnOfTheLoopNotInsideTheUpdate) {
    ModelFixture fixture;
    TrayController tray(fixture.model());
    fixture.storeScan(SafetyState::protected_);
    fixture.refresh();
    fixture.storeScan(SafetyState::stuckSyncing);
    fixture.refresh();

    EXPECT_EQ(tray.toolTip(), "Tallowmere: Scan paused");
    QTRY_COMPARE(tray.toolTip(), QStringLiteral("Tallowmere: Unsafe"));
}

TEST(TrayControllerTest, LeftAndRightClicksAskForThePopover) {
    ModelFixture fixture;
    TrayController tray(fixture.model());
    QSignalSpy activated(&tray, &TrayController::activated);

    Q_EMIT tray.trayIcon()->activated(QSystemTrayIcon::Trigger);
    Q_EMIT tray.trayIcon()->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(activated.count(), 2);
    EXPECT_EQ(tray.trayIcon()->contextMenu(), nullptr);
}

}  // namespace
}  // namespace tallowmere
