#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>

#include "tests/ui/UiTestModel.h"
#include "ui/MainWindow.h"
#include "ui/RootView.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/navigation/AppSidebarView.h"
#include "ui/screens/dashboard/DashboardView.h"
#include "ui/screens/safety/ICloudDriveSafetyView.h"
#include "ui/screens/safety/PhotosSafetyView.h"

namespace tallowmere {
namespace {

using testing::child;
using testing::settle;
using testing::shownText;
using testing::shownWidgets;

QWidget* currentScreen(const RootView& root) {
    return child<QStackedWidget>(root, "detailArea")->currentWidget();
}

// The whole window's content at the size of a new window.
class RootViewTest : public testing::ScreenTest<RootView, 1120, 740> {};

TEST_F(RootViewTest, SidebarListsTheGroupsAndSectionsAndStartsOnTheDashboard) {
    RootView& root = show();
    AppSidebarView* sidebar = root.sidebar();
    EXPECT_EQ(sidebar->width(), 236);
    EXPECT_EQ(shownText(*sidebar, "productName"), "Tallowmere");
    EXPECT_EQ(shownText(*child<QWidget>(*sidebar, "betaBadge"), "badgeText"), "Public beta");
    EXPECT_EQ(shownText(*sidebar, "sidebarCaption"), "Local-first. No file or photo uploads.");

    std::vector<QString> texts;
    for (QWidget* title : shownWidgets(*sidebar, QStringLiteral("sidebarGroupTitle")))
        texts.push_back(static_cast<QLabel*>(title)->text());
    EXPECT_EQ(texts, (std::vector<QString>{"Safety", "Second copy", "Account"}));

    // Rows top to bottom in section order, each with its title.
    int previousTop = -1;
    for (const auto& section : allCases<AppSection>()) {
        SCOPED_TRACE(std::string(section.raw));
        SidebarRow* row = sidebar->row(section.value);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text().toStdString(), section.display);
        const int top = row->mapTo(sidebar, QPoint()).y();
        EXPECT_GT(top, previousTop);
        previousTop = top;
    }

    EXPECT_EQ(root.selection(), AppSection::dashboard);
    EXPECT_TRUE(sidebar->row(AppSection::dashboard)->isChecked());
    EXPECT_NE(qobject_cast<DashboardView*>(currentScreen(root)), nullptr);
}

TEST_F(RootViewTest, RowsOpenTheirScreens) {
    RootView& root = show();
    QTest::mouseClick(root.sidebar()->row(AppSection::iCloudDriveSafety), Qt::LeftButton);
    EXPECT_EQ(root.selection(), AppSection::iCloudDriveSafety);
    EXPECT_NE(qobject_cast<ICloudDriveSafetyView*>(currentScreen(root)), nullptr);

    QTest::mouseClick(root.sidebar()->row(AppSection::photosSafety), Qt::LeftButton);
    EXPECT_NE(qobject_cast<PhotosSafetyView*>(currentScreen(root)), nullptr);

    const auto expectScreen = [&root](AppSection section, const char* objectName) {
        SCOPED_TRACE(std::string(rawValue(section)));
        QTest::mouseClick(root.sidebar()->row(section), Qt::LeftButton);
        EXPECT_EQ(root.selection(), section);
        EXPECT_TRUE(root.sidebar()->row(section)->isChecked());
        EXPECT_EQ(currentScreen(root)->objectName(), objectName);
        EXPECT_EQ(child<QWidget>(*currentScreen(root), "pendingSection"), nullptr);
    };
    expectScreen(AppSection::backupDestination, "backupDestinationView");
    expectScreen(AppSection::verification, "verificationView");
    expectScreen(AppSection::reports, "reportsView");
    expectScreen(AppSection::settings, "settingsView");

    // Another screen can take a section's place.
    auto* reports = new QLabel(QStringLiteral("Reports screen"));
    root.setSectionView(AppSection::reports, reports);
    root.setSelection(AppSection::reports);
    EXPECT_EQ(currentScreen(root), reports);
    EXPECT_EQ(root.sectionView(AppSection::reports), reports);
}

TEST_F(RootViewTest, HidingTheSidebarKeepsTheSelection) {
    RootView& root = show();
    root.setSelection(AppSection::photosSafety);
    QAction* toggle = root.sidebarToggleAction();
    EXPECT_EQ(toggle->toolTip(), "Hide sidebar");

    toggle->trigger();
    EXPECT_FALSE(root.isSidebarVisible());
    EXPECT_EQ(toggle->toolTip(), "Show sidebar");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !root.sidebar()->isVisible(); }, 3000));
    EXPECT_EQ(root.selection(), AppSection::photosSafety);
    EXPECT_NE(qobject_cast<PhotosSafetyView*>(currentScreen(root)), nullptr);
    EXPECT_GE(currentScreen(root)->width(), 1100) << "the detail area takes the whole width";

    toggle->trigger();
    EXPECT_TRUE(root.isSidebarVisible());
    EXPECT_EQ(toggle->toolTip(), "Hide sidebar");
    EXPECT_TRUE(QTest::qWaitFor([&] { return root.sidebar()->width() == 236; }, 3000));
    EXPECT_TRUE(root.sidebar()->isVisible());
    EXPECT_EQ(root.selection(), AppSection::photosSafety);
    EXPECT_TRUE(root.sidebar()->row(AppSection::photosSafety)->isChecked());
}

TEST_F(RootViewTest, DashboardNavigationChangesTheSelection) {
    RootView& root = show();
    std::vector<AppSection> selections;
    QObject::connect(&root, &RootView::selectionChanged,
                     [&selections](AppSection s) { selections.push_back(s); });
    root.setSelection(AppSection::verification);
    root.setSelection(AppSection::verification);
    EXPECT_EQ(selections, std::vector{AppSection::verification}) << "only changes are announced";
}

// The action card whose button reads `buttonTitle`, on the dashboard.
TMButton* actionButton(const RootView& root, const QString& buttonTitle) {
    for (QWidget* card :
         shownWidgets(*root.sectionView(AppSection::dashboard), QStringLiteral("actionCard"))) {
        auto* button = child<TMButton>(*card, "actionButton");
        if (button->text() == buttonTitle)
            return button;
    }
    return nullptr;
}

TEST_F(RootViewTest, ReviewICloudResultsExplainsAndOpensTheICloudScreen) {
    m_model.storeICloudScan(testing::UiTestModel::fileResults(
        6, {ICloudFileState::localCurrent, ICloudFileState::cloudOnly}));
    RootView& root = show();
    TMButton* review = actionButton(root, QStringLiteral("Review iCloud Results"));
    ASSERT_NE(review, nullptr);
    QTest::mouseClick(review, Qt::LeftButton);
    EXPECT_EQ(m_model->statusMessage(),
              "Open iCloud Drive Safety to review cloud-only files. Tallowmere will not force "
              "downloads.");
    EXPECT_EQ(root.selection(), AppSection::iCloudDriveSafety);
    EXPECT_NE(qobject_cast<ICloudDriveSafetyView*>(currentScreen(root)), nullptr);
    EXPECT_TRUE(root.sidebar()->row(AppSection::iCloudDriveSafety)->isChecked());
}

TEST_F(RootViewTest, RunICloudScanStartsAScanAndOpensTheICloudScreen) {
    m_model.addScannableFolder("/home/tester/Documents", 5);
    RootView& root = show();
    TMButton* run = actionButton(root, QStringLiteral("Run iCloud Scan"));
    ASSERT_NE(run, nullptr);
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(root.selection(), AppSection::iCloudDriveSafety);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_model->iCloudSummary().has_value() && !m_model->isScanning(); }, 20000));
    settle();
    EXPECT_EQ(m_model->iCloudSummary()->scannedItemCount, 5);
    auto* screen = currentScreen(root);
    EXPECT_EQ(shownText(*child<QWidget>(*screen, "metricScannedFiles"), "metricValue"), "5");
}

// A sheet the test can dismiss, counting how often one was made.
struct FakeOnboarding {
    RootView::OnboardingPresenter presenter() {
        return [this](QWidget* parent) {
            ++made;
            sheet = new QDialog(parent);
            return sheet.data();
        };
    }
    int made = 0;
    QPointer<QDialog> sheet;
};

TEST_F(RootViewTest, OnboardingIsPresentedOnceAfterTheWindowIsShownAndCompletesOnDismissal) {
    FakeOnboarding onboarding;
    RootView root(*m_model, m_chooser);
    root.setOnboardingPresenter(onboarding.presenter());
    EXPECT_FALSE(root.canPresentOnboarding());
    EXPECT_EQ(onboarding.made, 0) << "nothing before the window is shown";

    root.show();
    settle();
    EXPECT_EQ(onboarding.made, 1);
    ASSERT_NE(root.onboardingSheet(), nullptr);
    EXPECT_TRUE(root.onboardingSheet()->isVisible());
    EXPECT_FALSE(m_model->hasCompletedOnboarding());

    root.onboardingSheet()->reject();
    settle();
    EXPECT_TRUE(m_model->hasCompletedOnboarding());
    EXPECT_FALSE(root.canPresentOnboarding());
    EXPECT_EQ(root.onboardingSheet(), nullptr);

    // Reset from the settings: not again in this window.
    m_model->resetOnboarding();
    settle();
    EXPECT_EQ(onboarding.made, 1);
}

TEST_F(RootViewTest, CompletedOnboardingReturnsOnlyInTheNextWindowAfterAReset) {
    m_model->completeOnboarding();
    FakeOnboarding onboarding;
    RootView root(*m_model, m_chooser);
    root.setOnboardingPresenter(onboarding.presenter());
    root.show();
    settle();
    EXPECT_TRUE(root.canPresentOnboarding());
    EXPECT_EQ(onboarding.made, 0);
    EXPECT_EQ(root.onboardingSheet(), nullptr);

    // "Show onboarding on next launch": not in this window...
    m_model->resetOnboarding();
    settle();
    EXPECT_EQ(onboarding.made, 0);
    EXPECT_EQ(root.onboardingSheet(), nullptr);

    // ...but in the next one.
    RootView next(*m_model, m_chooser);
    next.setOnboardingPresenter(onboarding.presenter());
    next.show();
    settle();
    EXPECT_EQ(onboarding.made, 1);
    EXPECT_NE(next.onboardingSheet(), nullptr);
}

TEST_F(RootViewTest, WithoutASheetNothingIsPresentedOrCompleted) {
    show();
    EXPECT_TRUE(m_view->canPresentOnboarding());
    EXPECT_FALSE(m_model->hasCompletedOnboarding());
}

TEST(MainWindowTest, HostsTheRootViewWithTheSidebarToggleInItsToolbar) {
    testing::UiTestModel model;
    MainWindow window(*model, std::make_shared<testing::FakeFileChooser>());
    window.show();
    settle();
    EXPECT_EQ(window.windowTitle(), "Tallowmere");
    EXPECT_EQ(window.size(), QSize(1120, 740));
    EXPECT_EQ(window.centralWidget(), window.rootView());
    EXPECT_GE(window.rootView()->minimumWidth(), 940);
    EXPECT_GE(window.rootView()->minimumHeight(), 620);
    window.resize(600, 400);
    settle();
    EXPECT_GE(window.rootView()->width(), 940);
    EXPECT_GE(window.rootView()->height(), 620);
    EXPECT_TRUE(window.toolbar()->actions().contains(window.rootView()->sidebarToggleAction()));
}

}  // namespace
}  // namespace tallowmere
