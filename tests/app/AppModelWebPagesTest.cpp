#include <gtest/gtest.h>

#include "app/AppModel.h"
#include "app/UpdateController.h"
#include "app/WebsiteConfiguration.h"
#include "tests/app/AppTestSupport.h"

namespace tallowmere {
namespace {

using testing::TestEnvironment;

constexpr const char* kFallbackMessage =
    "Self-updates are not configured in this build, so Tallowmere opened the download page "
    "instead.";

class FakeUpdater final : public SelfUpdater {
public:
    explicit FakeUpdater(int* checks) : m_checks(checks) {}
    void checkForUpdatesByUser() override { ++*m_checks; }

private:
    int* m_checks;
};

TEST(WebsiteConfigurationTest, EnvironmentReplacesTheDefaultPages) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        const char* download;
        const char* support;
    };
    const std::vector<Case> cases = {
        {"unset", {}, "https://tallowmere.example/download", "https://tallowmere.example/support"},
        {"both set",
         {{"TALLOWMERE_DOWNLOAD_URL", "https://mirror.example.org/get"},
          {"TALLOWMERE_SUPPORT_URL", "http://help.example.net/ask?x=1"}},
         "https://mirror.example.org/get",
         "http://help.example.net/ask?x=1"},
        {"empty value",
         {{"TALLOWMERE_DOWNLOAD_URL", ""}},
         "https://tallowmere.example/download",
         "https://tallowmere.example/support"},
        {"not an address",
         {{"TALLOWMERE_SUPPORT_URL", "support page"}},
         "https://tallowmere.example/download",
         "https://tallowmere.example/support"},
        {"untrimmed value",
         {{"TALLOWMERE_DOWNLOAD_URL", " https://mirror.example.org/get"}},
         "https://tallowmere.example/download",
         "https://tallowmere.example/support"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const auto configuration =
            TallowmereWebsiteConfiguration::fromEnvironment(testCase.environment);
        EXPECT_EQ(configuration.downloadURL.toString().toStdString(), testCase.download);
        EXPECT_EQ(configuration.supportURL.toString().toStdString(), testCase.support);
    }
}

TEST(UpdateControllerTest, InformationValuesAreCleanedBeforeUse) {
    const std::vector<std::pair<QVariant, std::optional<std::string>>> cases = {
        {QVariant(), std::nullopt},
        {QVariant(42), std::nullopt},
        {QVariant(true), std::nullopt},
        {QVariant(QStringLiteral("")), std::nullopt},
        {QVariant(QStringLiteral(" \t\n ")), std::nullopt},
        {QVariant(QStringLiteral("$(UPDATE_FEED_URL)")), std::nullopt},
        {QVariant(QStringLiteral("https://x.example/$(CHANNEL).xml")), std::nullopt},
        {QVariant(QStringLiteral("  key-123\n")), "key-123"},
        {QVariant(QStringLiteral("$ (not a placeholder)")), "$ (not a placeholder)"},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value.toString().toStdString());
        EXPECT_EQ(UpdateController::cleanInfoValue(value), expected);
    }
}

TEST(UpdateControllerTest, ConfigurationIsCompleteOnlyWithAFeedAddressAndAKey) {
    const auto bundle = [](QVariant feed, QVariant key) {
        BundleInformation info;
        if (feed.isValid())
            info[BundleKeys::kUpdateFeedURL] = feed;
        if (key.isValid())
            info[BundleKeys::kUpdatePublicKey] = key;
        return info;
    };
    const QString feed = QStringLiteral("https://updates.example/feed.xml");
    const QString key = QStringLiteral("pk");
    EXPECT_TRUE(UpdateController::updateConfigurationIsComplete(bundle(feed, key)));
    EXPECT_FALSE(UpdateController::updateConfigurationIsComplete(bundle(feed, {})));
    EXPECT_FALSE(UpdateController::updateConfigurationIsComplete(bundle({}, key)));
    EXPECT_FALSE(
        UpdateController::updateConfigurationIsComplete(bundle(QStringLiteral("   "), key)));
    EXPECT_FALSE(
        UpdateController::updateConfigurationIsComplete(bundle(QStringLiteral("$(FEED)"), key)));
    EXPECT_FALSE(UpdateController::updateConfigurationIsComplete(
        bundle(QStringLiteral("not a url at all"), key)));
    EXPECT_FALSE(UpdateController::updateConfigurationIsComplete(compiledBundleInformation()));
}

TEST(AppModelWebPagesTest, UpdateCheckOpensTheConfiguredDownloadPageWithoutAnUpdater) {
    TestEnvironment test;
    test.processEnvironment["TALLOWMERE_DOWNLOAD_URL"] = "https://mirror.example.org/get";
    AppModel model(test.make());
    EXPECT_FALSE(model.offersUpdateChecks());
    model.checkForUpdates();
    ASSERT_EQ(test.desktop->opened.size(), 1u);
    EXPECT_EQ(test.desktop->opened[0], QUrl(QStringLiteral("https://mirror.example.org/get")));
    EXPECT_EQ(model.statusMessage(), kFallbackMessage);
    EXPECT_TRUE(model.activityEvents().empty());
}

TEST(AppModelWebPagesTest, UpdateCheckUsesTheUpdaterOnlyWithACompleteConfiguration) {
    for (const QString& feed :
         {QStringLiteral("https://updates.example/feed.xml"), QStringLiteral("$(FEED_URL)")}) {
        SCOPED_TRACE(feed.toStdString());
        int checks = 0;
        std::optional<UpdateConfiguration> started;
        TestEnvironment test;
        test.bundle[BundleKeys::kUpdateFeedURL] = feed;
        test.bundle[BundleKeys::kUpdatePublicKey] = QStringLiteral("pk");
        auto environment = test.make();
        environment.makeSelfUpdater = [&](const UpdateConfiguration& configuration) {
            started = configuration;
            return std::make_unique<FakeUpdater>(&checks);
        };
        AppModel model(std::move(environment));
        model.checkForUpdates();

        const bool complete = !feed.contains(QStringLiteral("$("));
        EXPECT_EQ(model.offersUpdateChecks(), complete);
        EXPECT_EQ(checks, complete ? 1 : 0);
        EXPECT_EQ(test.desktop->opened.size(), complete ? 0u : 1u);
        EXPECT_EQ(model.statusMessage(),
                  complete ? "Opened Tallowmere update checker." : kFallbackMessage);
        if (complete) {
            ASSERT_TRUE(started);
            EXPECT_EQ(started->feedURL, QUrl(feed));
            EXPECT_EQ(started->publicKey, "pk");
        }
    }
}

TEST(AppModelWebPagesTest, SupportPageAndPagesThatCannotBeOpened) {
    TestEnvironment test;
    AppModel model(test.make());
    model.openSupportPage();
    ASSERT_EQ(test.desktop->opened.size(), 1u);
    EXPECT_EQ(test.desktop->opened[0], QUrl(QStringLiteral("https://tallowmere.example/support")));
    EXPECT_EQ(model.statusMessage(), "Opened Tallowmere support. No local safety data was sent.");

    test.desktop->succeeds = false;
    model.openSupportPage();
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not open the support page.");
    model.checkForUpdates();
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not open the download page.");
    EXPECT_TRUE(model.activityEvents().empty());
}

}  // namespace
}  // namespace tallowmere
