#include <gtest/gtest.h>

#include <functional>

#include "app/AppModel.h"
#include "app/StaleReminderDays.h"
#include "persistence/SettingsRepository.h"
#include "tests/app/AppTestSupport.h"

namespace tallowmere {
namespace {

using testing::TestEnvironment;

std::optional<std::string> stored(const TestEnvironment& test, const std::string& key) {
    return SettingsRepository(test.database->queue(), test.clock).string(key);
}

TEST(AppModelSettingsTest, StaleDaysAreClampedThenPublishedAndStored) {
    const std::vector<std::pair<int, int>> cases = {
        {0, 1}, {-5, 1}, {1, 1}, {2, 2}, {14, 14}, {30, 30}, {31, 30}, {45, 30},
    };
    TestEnvironment test;
    AppModel model(test.make());
    for (const auto& [requested, expected] : cases) {
        SCOPED_TRACE(requested);
        model.setBackupStaleReminderDays(requested);
        EXPECT_EQ(model.backupStaleReminderDays(), expected);
        EXPECT_EQ(stored(test, "backupStaleReminderDays"), std::to_string(expected));
    }
    EXPECT_EQ(model.statusMessage(), "Ready");
    EXPECT_TRUE(model.activityEvents().empty());
}

TEST(AppModelSettingsTest, StoredTextParsing) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"7", 7},          {"+30", 30}, {"-0", 0},  {"0012", 12}, {"+", 7},
        {"-", 7},          {"1e3", 7},  {"12 ", 7}, {"++1", 7},   {"2147483647", 2147483647},
        {"2147483648", 7},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StaleReminderDays::fromStoredText(text), expected);
    }
}

TEST(AppModelSettingsTest, EachSetterPublishesAndStoresItsKey) {
    struct Case {
        const char* key;
        std::function<void(AppModel&)> set;
        std::function<bool(const AppModel&)> published;
        const char* storedText;
    };
    const std::vector<Case> cases = {
        {"hasCompletedOnboarding", [](AppModel& m) { m.completeOnboarding(); },
         [](const AppModel& m) { return m.hasCompletedOnboarding(); }, "true"},
        {"localReminderBackupCompleted",
         [](AppModel& m) { m.setLocalReminderBackupCompleted(false); },
         [](const AppModel& m) { return !m.localReminderBackupCompleted(); }, "false"},
        {"localReminderDriveMissing", [](AppModel& m) { m.setLocalReminderDriveMissing(false); },
         [](const AppModel& m) { return !m.localReminderDriveMissing(); }, "false"},
        {"allowLocalBackupTestDestination",
         [](AppModel& m) { m.setAllowLocalBackupTestDestination(true); },
         [](const AppModel& m) { return m.allowLocalBackupTestDestination(); }, "true"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.key);
        TestEnvironment test;
        AppModel model(test.make());
        testCase.set(model);
        EXPECT_TRUE(testCase.published(model));
        EXPECT_EQ(stored(test, testCase.key), testCase.storedText);
    }

    TestEnvironment test;
    AppModel model(test.make());
    model.completeOnboarding();
    model.resetOnboarding();
    EXPECT_FALSE(model.hasCompletedOnboarding());
    EXPECT_EQ(stored(test, "hasCompletedOnboarding"), "false");
}

TEST(AppModelSettingsTest, FailedWriteKeepsTheNewValueAndOnlySetsTheMessage) {
    struct Case {
        std::function<void(AppModel&)> set;
        std::function<bool(const AppModel&)> published;
        const char* message;
    };
    const std::vector<Case> cases = {
        {[](AppModel& m) { m.completeOnboarding(); },
         [](const AppModel& m) { return m.hasCompletedOnboarding(); },
         "Tallowmere could not save onboarding state."},
        {[](AppModel& m) { m.resetOnboarding(); },
         [](const AppModel& m) { return !m.hasCompletedOnboarding(); },
         "Tallowmere could not save onboarding state."},
        {[](AppModel& m) { m.setLocalReminderBackupCompleted(false); },
         [](const AppModel& m) { return !m.localReminderBackupCompleted(); },
         "Tallowmere could not save local reminder settings."},
        {[](AppModel& m) { m.setLocalReminderDriveMissing(false); },
         [](const AppModel& m) { return !m.localReminderDriveMissing(); },
         "Tallowmere could not save local reminder settings."},
        {[](AppModel& m) { m.setBackupStaleReminderDays(40); },
         [](const AppModel& m) { return m.backupStaleReminderDays() == 30; },
         "Tallowmere could not save backup reminder settings."},
        {[](AppModel& m) { m.setAllowLocalBackupTestDestination(true); },
         [](const AppModel& m) { return m.allowLocalBackupTestDestination(); },
         "Tallowmere could not save backup destination settings."},
        {[](AppModel& m) { m.selectPhotosLibrary("/srv/pictures/Family.photoslibrary"); },
         [](const AppModel& m) {
             return m.selectedPhotosLibraryPath() == "/srv/pictures/Family.photoslibrary";
         },
         "Tallowmere could not select that Photos library."},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.message);
        TestEnvironment test;
        AppModel model(test.make());
        testing::failWritesTo(*test.database, "settings");
        testCase.set(model);
        EXPECT_TRUE(testCase.published(model));
        EXPECT_EQ(model.statusMessage(), testCase.message);
        EXPECT_TRUE(model.activityEvents().empty());
        EXPECT_EQ(testing::rowCount(*test.database, "settings"), 0);
    }
}

TEST(AppModelSettingsTest, SwitchingLocalTestDestinationsRecordsEveryChange) {
    TestEnvironment test;
    AppModel model(test.make());
    model.setAllowLocalBackupTestDestination(true);
    EXPECT_EQ(model.statusMessage(),
              "Local test destinations are enabled for backup copying. Use an external drive for "
              "a real second copy.");
    model.setAllowLocalBackupTestDestination(true);
    model.setAllowLocalBackupTestDestination(false);
    EXPECT_EQ(model.statusMessage(), "Local test destinations are disabled.");

    const auto& events = model.activityEvents();
    ASSERT_EQ(events.size(), 3u);
    // Newest first.
    EXPECT_EQ(events[0].title, "Local test destination mode disabled");
    EXPECT_EQ(events[0].message, "Local test destinations are disabled.");
    EXPECT_EQ(events[0].severity, SafetyState::protected_);
    for (const auto& event : {events[1], events[2]}) {
        EXPECT_EQ(event.kind, ActivityEventKind::destination);
        EXPECT_EQ(event.title, "Local test destination mode enabled");
        EXPECT_EQ(event.severity, SafetyState::needsAttention);
        EXPECT_EQ(event.localActionTarget, "settings");
    }
}

TEST(AppModelSettingsTest, TimelineShowsTheTwelveNewestAndKeepsTheRest) {
    TestEnvironment test;
    AppModel model(test.make());
    for (int i = 0; i < 13; ++i) {
        test.clock->advance(1);
        model.setAllowLocalBackupTestDestination(i % 2 == 0);
    }
    ASSERT_EQ(model.activityEvents().size(), 12u);
    EXPECT_EQ(testing::rowCount(*test.database, "activity_events"), 13);
    EXPECT_EQ(model.activityEvents().front().title, "Local test destination mode enabled");
    EXPECT_EQ(model.activityEvents().front().createdAt, test.clock->now());
}

TEST(AppModelSettingsTest, AnEventThatCannotBeStoredDoesNotFailTheSetter) {
    TestEnvironment test;
    AppModel model(test.make());
    testing::failWritesTo(*test.database, "activity_events");
    model.setAllowLocalBackupTestDestination(true);
    EXPECT_TRUE(model.allowLocalBackupTestDestination());
    EXPECT_EQ(model.statusMessage(),
              "Local test destinations are enabled for backup copying. Use an external drive for "
              "a real second copy.");
    EXPECT_TRUE(model.activityEvents().empty());
}

}  // namespace
}  // namespace tallowmere
