#include "ui/onboarding/OnboardingView.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>

#include "tests/ui/UiTestSupport.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

using namespace testing;

struct ExpectedStep {
    const char* title;
    const char* symbol;
    const char* left;
    const char* primary;
    const char* primarySymbol;
    const char* firstPoint;
};

const ExpectedStep kSteps[] = {
    {"Tallowmere stays local first.", "lock.shield.fill", "Skip for now", "Continue", "arrow.right",
     "iCloud scans read metadata only."},
    {"Start with iCloud Drive Safety.", "icloud.fill", "Back", "Run iCloud Scan", "arrow.clockwise",
     "No downloads are forced."},
    {"Photos Safety is optional.", "photo.on.rectangle.angled", "Back", "Scan Photos",
     "photo.stack", "No originals are exported or copied."},
    {"Choose a real second-copy destination.", "externaldrive.fill", "Back", "Continue",
     "arrow.right", "Tallowmere writes only inside its own Tallowmere Backup folder."},
    {"Verification proves readability.", "checkmark.seal.fill", "Back", "Continue", "arrow.right",
     "Quick verification checks a sample."},
};

class OnboardingViewTest : public ::testing::Test {
protected:
    TMButton* left(OnboardingView& view) {
        return view.findChild<TMButton*>(QStringLiteral("onboardingLeftButton"));
    }
    TMButton* primary(OnboardingView& view) {
        return view.findChild<TMButton*>(QStringLiteral("onboardingPrimaryButton"));
    }
    void expectStep(OnboardingView& view, int index) {
        SCOPED_TRACE(index);
        const ExpectedStep& expected = kSteps[index];
        EXPECT_EQ(view.step(), index);
        EXPECT_EQ(textOf(view, "onboardingTitle"), expected.title);
        EXPECT_EQ(view.findChild<SymbolTile*>("onboardingSymbol")->symbolName(), expected.symbol);
        EXPECT_EQ(left(view)->text(), expected.left);
        EXPECT_EQ(primary(view)->text(), expected.primary);
        const QList<SymbolLabel*> points = view.findChildren<SymbolLabel*>("onboardingPoint");
        ASSERT_EQ(points.size(), 3);
        EXPECT_EQ(points[0]->text(), expected.firstPoint);
        EXPECT_EQ(points[0]->symbolName(), "checkmark.circle.fill");
        // Capsules up to this step in the trust colour, the rest in the separator colour.
        const auto* capsules = view.findChild<StepCapsules*>("stepCapsules");
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(capsules->capsuleColor(i),
                      TMTheme::color(i <= index ? ThemeColor::trust : ThemeColor::separator))
                << i;
        }
    }

    ModelFixture fixture;
    int dismissals = 0;
};

TEST_F(OnboardingViewTest, WalksThroughTheFiveStepsAndCompletesOnTheLast) {
    OnboardingView view(fixture.model(), [this] { ++dismissals; });
    showAt(view, {660, 520});
    ASSERT_EQ(onboardingStepNames(),
              (std::vector<std::string>{"Privacy", "iCloud", "Photos", "Destination", "Verify"}));

    for (int index = 0; index < 5; ++index) {
        expectStep(view, index);
        EXPECT_FALSE(fixture.model().hasCompletedOnboarding());
        EXPECT_EQ(dismissals, 0);
        QTest::mouseClick(primary(view), Qt::LeftButton);
    }
    // "Continue" on the last step.
    EXPECT_TRUE(fixture.model().hasCompletedOnboarding());
    EXPECT_EQ(dismissals, 1);
}

TEST_F(OnboardingViewTest, ScanStepsMoveOnAtOnceWithoutWaitingForTheScan) {
    OnboardingView view(fixture.model(), [this] { ++dismissals; });
    showAt(view, {660, 520});
    QTest::mouseClick(primary(view), Qt::LeftButton);
    ASSERT_EQ(view.step(), 1);

    QTest::mouseClick(primary(view), Qt::LeftButton);  // "Run iCloud Scan"
    EXPECT_EQ(view.step(), 2);
    QTest::mouseClick(primary(view), Qt::LeftButton);  // "Scan Photos"
    EXPECT_EQ(view.step(), 3);
    EXPECT_FALSE(fixture.model().isScanningPhotos());  // started on the next turn of the loop
    EXPECT_FALSE(fixture.model().hasCompletedOnboarding());

    // The Photos scan did start, and finishes on its own.
    QTRY_VERIFY(fixture.model().photosSummary().has_value());
    EXPECT_EQ(fixture.photoLibrary().fetchCount(), 1);
    EXPECT_EQ(view.step(), 3);
}

TEST_F(OnboardingViewTest, BackReturnsOneStepAndSkipCompletesAtOnce) {
    OnboardingView view(fixture.model(), [this] { ++dismissals; });
    showAt(view, {660, 520});
    for (int i = 0; i < 3; ++i) QTest::mouseClick(primary(view), Qt::LeftButton);
    ASSERT_EQ(view.step(), 3);

    QTest::mouseClick(left(view), Qt::LeftButton);
    expectStep(view, 2);
    QTest::mouseClick(left(view), Qt::LeftButton);
    QTest::mouseClick(left(view), Qt::LeftButton);
    expectStep(view, 0);
    EXPECT_FALSE(fixture.model().hasCompletedOnboarding());

    QTest::mouseClick(left(view), Qt::LeftButton);  // "Skip for now"
    EXPECT_TRUE(fixture.model().hasCompletedOnboarding());
    EXPECT_EQ(dismissals, 1);
}

TEST_F(OnboardingViewTest, ClosingTheSheetEarlyCompletesOnboarding) {
    QWidget window;
    showAt(window, {1120, 740});
    auto* sheet = new OnboardingSheet(fixture.model(), &window);
    EXPECT_EQ(sheet->size(), QSize(OnboardingSheet::kWidth, OnboardingSheet::kHeight));
    EXPECT_EQ(sheet->size(), QSize(660, 520));
    sheet->open();
    QApplication::processEvents();
    QTest::mouseClick(sheet->findChild<TMButton*>("onboardingPrimaryButton"), Qt::LeftButton);
    ASSERT_EQ(sheet->view()->step(), 1);

    // Escape, the window manager's close button and reject() all end here.
    QTest::keyClick(sheet, Qt::Key_Escape);

    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(fixture.model().hasCompletedOnboarding());
}

TEST_F(OnboardingViewTest, PresenterShowsTheSheetOnceTheWindowIsOnScreenAndNotAgain) {
    QMainWindow window;
    auto* presenter = new OnboardingPresenter(fixture.model(), &window);
    QApplication::processEvents();
    EXPECT_EQ(presenter->sheet(), nullptr);  // not before the window is shown

    window.show();
    EXPECT_EQ(presenter->sheet(), nullptr);  // the next turn of the loop, not during show()
    QTRY_VERIFY(presenter->sheet() != nullptr);
    QPointer<OnboardingSheet> sheet = presenter->sheet();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->parentWidget(), &window);

    sheet->reject();
    QTRY_VERIFY(sheet.isNull());
    EXPECT_TRUE(fixture.model().hasCompletedOnboarding());

    // Reset in Settings: not again while this window lives.
    fixture.model().resetOnboarding();
    QApplication::processEvents();
    EXPECT_EQ(presenter->sheet(), nullptr);
}

TEST_F(OnboardingViewTest, PresenterNeverShowsTheSheetOnceOnboardingIsComplete) {
    fixture.model().completeOnboarding();
    QMainWindow window;
    auto* presenter = new OnboardingPresenter(fixture.model(), &window);
    window.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    EXPECT_EQ(presenter->sheet(), nullptr);
}

}  // namespace
}  // namespace tallowmere
