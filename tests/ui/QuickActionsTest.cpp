#include "ui/shell/QuickActions.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/ui/UiTestSupport.h"

namespace tallowmere {
namespace {

using namespace testing;

TEST(QuickActionsTest, ScanStartsOnALaterTurnAndTheSameActionCancelsIt) {
    ModelFixture fixture;
    AppModel& model = fixture.model();
    QuickActions::runOrCancelScan(model);
    EXPECT_FALSE(model.isScanning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.isScanning(); }));
    // While it runs the same action asks it to stop.
    QuickActions::runOrCancelScan(model);
    EXPECT_EQ(model.statusMessage(), "Cancelling scan...");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.isScanning(); }));
    EXPECT_FALSE(model.activityEvents().empty());
}

TEST(QuickActionsTest, CopyAndVerifyStartTheirWorkflows) {
    ModelFixture fixture;
    AppModel& model = fixture.model();
    QuickActions::startBackup(model);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return model.statusMessage() ==
               "Choose an available external backup destination before copying.";
    }));
    QuickActions::verifyBackup(model);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return !model.activityEvents().empty() &&
               model.activityEvents().front().title == "Quick verification finished";
    }));
}

}  // namespace
}  // namespace tallowmere
