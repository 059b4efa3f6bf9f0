#include "core/dashboard/NextBestActionEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/dashboard/DestinationQuality.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/StoredStateFixtures.h"

namespace tallowmere {
namespace {

using testing::StoredState;

std::vector<NextBestAction> actionsFor(const StoredState& s) {
    const EnglishFormatting english;
    return NextBestActionEngine::makeActions(
        s.iCloudSummary, s.photosSummary, s.backupDestination, s.backupSnapshot,
        s.verificationSnapshot, s.restoreTestSnapshot, s.allowLocalTestDestination, english);
}

// The cards as the user should see them.
namespace card {

NextBestAction runICloudScan(bool primary) {
    return {NextBestActionKind::runICloudScan,
            "Create your iCloud safety baseline",
            "Run a read-only scan so Tallowmere can separate local, cloud-only, waiting, and "
            "unknown files.",
            "Run iCloud Scan",
            "icloud",
            100,
            primary};
}

NextBestAction scanPhotos(std::string title, bool primary) {
    return {NextBestActionKind::scanPhotos,
            std::move(title),
            "Photos Safety stays read-only and helps explain library size, counts, and what "
            "remains unknown.",
            "Scan Photos",
            "photo.on.rectangle",
            90,
            primary};
}

NextBestAction chooseDrive(std::string title, std::string detail, bool primary) {
    return {NextBestActionKind::chooseExternalDrive,
            std::move(title),
            std::move(detail),
            "Choose Destination",
            "externaldrive",
            80,
            primary};
}

NextBestAction chooseDrive(DestinationQuality quality, bool primary) {
    return chooseDrive(std::string(title(quality)), std::string(detail(quality)), primary);
}

NextBestAction downloadCloudOnly(const std::string& count, bool primary) {
    return {NextBestActionKind::downloadCloudOnlyFiles,
            "Download cloud-only files before copying",
            count + " files may only exist in iCloud. Tallowmere will not force-download them.",
            "Review iCloud Results",
            "icloud.and.arrow.down",
            70,
            primary};
}

NextBestAction prepareBackup(bool primary) {
    return {NextBestActionKind::prepareBackup,
            "Prepare the second-copy manifest",
            "Tallowmere will count eligible local files and skipped cloud-only or uncertain "
            "items before copying.",
            "Prepare Backup",
            "doc.badge.gearshape",
            50,
            primary};
}

NextBestAction startCopy(bool paused, bool primary) {
    return {NextBestActionKind::startCopy,
            paused ? "Resume the second copy" : "Start the second copy",
            "Only eligible local or downloaded files are copied. Tallowmere does not "
            "mirror-delete or alter originals.",
            paused ? "Resume Copy" : "Start Copy",
            "play.fill",
            40,
            primary};
}

NextBestAction quickVerify(bool primary) {
    return {NextBestActionKind::quickVerify,
            "Verify that Tallowmere can read the copy",
            "Quick verification checks a sample. Full verification can check every copied file.",
            "Quick Verify",
            "checkmark.seal",
            30,
            primary};
}

NextBestAction restoreTest(bool primary) {
    return {NextBestActionKind::restoreTest,
            "Run a sample restore test",
            "Tallowmere copies a small sample from the backup into a temporary folder and "
            "checks it.",
            "Restore Test",
            "arrow.counterclockwise.circle",
            20,
            primary};
}

}  // namespace card

// Scanned local files, readable Photos metadata and an external drive: the state in
// which only the second copy itself remains to be made.
StoredState readyToCopy() {
    StoredState s = StoredState::freshInstall();
    s.withLocalScan();
    s.photosSummary = testing::photosScan();
    s.backupDestination = testing::externalDrive();
    return s;
}

TEST(NextBestActionEngineTest, ListsForRealisticStates) {
    constexpr bool kPrimary = true;
    constexpr bool kSecondary = false;
    struct Case {
        const char* name;
        std::function<StoredState()> state;
        std::vector<NextBestAction> expected;
    };
    const auto ready = [](std::function<void(StoredState&)> change) {
        return [change] {
            StoredState s = readyToCopy();
            change(s);
            return s;
        };
    };
    const std::vector<Case> cases{
        {"fresh install",
         [] { return StoredState::freshInstall(); },
         {card::runICloudScan(kPrimary), card::scanPhotos("Scan Photos metadata", kSecondary),
          card::chooseDrive("Choose an external backup drive",
                            "Select an external drive so your second copy is separate from "
                            "this Mac.",
                            kSecondary)}},
        {"cloud-only files with an external drive",
         ready([](StoredState& s) { s.iCloudSummary = testing::iCloudSummaryOf(20, 5, 3); }),
         {card::downloadCloudOnly("3", kPrimary), card::prepareBackup(kSecondary)}},
        {"cloud-only count is grouped",
         ready([](StoredState& s) { s.iCloudSummary = testing::iCloudSummaryOf(20, 5, 1204); }),
         {card::downloadCloudOnly("1,204", kPrimary), card::prepareBackup(kSecondary)}},
        {"a summary with no items asks for a scan",
         ready([](StoredState& s) { s.iCloudSummary = testing::iCloudSummaryOf(0, 0, 0); }),
         {card::runICloudScan(kPrimary), card::prepareBackup(kSecondary)}},
        {"denied Photos access",
         ready([](StoredState& s) {
             s.photosSummary = testing::photosScan(PhotosAuthorizationState::denied);
         }),
         {card::scanPhotos("Allow Photos metadata access", kPrimary),
          card::prepareBackup(kSecondary)}},
        {"Photos access not yet requested",
         ready([](StoredState& s) {
             s.photosSummary = testing::photosScan(PhotosAuthorizationState::notDetermined);
         }),
         {card::scanPhotos("Allow Photos metadata access", kPrimary),
          card::prepareBackup(kSecondary)}},
        {"limited Photos access is enough",
         ready([](StoredState& s) {
             s.photosSummary = testing::photosScan(PhotosAuthorizationState::limited);
         }),
         {card::prepareBackup(kPrimary)}},
        {"internal destination without local test mode",
         ready([](StoredState& s) { s.backupDestination = testing::internalFolder(); }),
         {card::chooseDrive(DestinationQuality::localBlocked, kPrimary)}},
        {"internal destination without local test mode, job prepared",
         ready([](StoredState& s) {
             s.backupDestination = testing::internalFolder();
             s.backupSnapshot = testing::jobIn(BackupJobStatus::prepared);
         }),
         {card::chooseDrive("Internal disk is not a real second copy",
                            "Choose an external drive, or enable local test destinations in "
                            "Advanced settings for testing only.",
                            kPrimary)}},
        {"internal destination in local test mode",
         ready([](StoredState& s) {
             s.backupDestination = testing::internalFolder();
             s.allowLocalTestDestination = true;
         }),
         {card::chooseDrive("Local test destination enabled",
                            "Useful for testing only. Use an external drive for a real second "
                            "copy.",
                            kPrimary),
          card::prepareBackup(kSecondary)}},
        {"internal destination in local test mode, job prepared",
         ready([](StoredState& s) {
             s.backupDestination = testing::internalFolder();
             s.allowLocalTestDestination = true;
             s.backupSnapshot = testing::jobIn(BackupJobStatus::prepared);
         }),
         {card::chooseDrive(DestinationQuality::localTestOnly, kPrimary),
          card::startCopy(false, kSecondary)}},
        {"drive low on space",
         ready([](StoredState& s) {
             s.backupDestination =
                 testing::destination(BackupDestinationStatus::lowStorage, true, "Small");
         }),
         {card::chooseDrive("Backup destination is low on space",
                            "Free up space or choose a larger external drive before copying.",
                            kPrimary)}},
        {"paused job",
         ready([](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::paused); }),
         {card::startCopy(true, kPrimary)}},
        {"cancelled job",
         ready(
             [](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::cancelled); }),
         {card::startCopy(false, kPrimary)}},
        {"failed job may be prepared again",
         ready([](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::failed); }),
         {card::prepareBackup(kPrimary)}},
        {"running job",
         ready([](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::running); }),
         {}},
        {"preparing job",
         ready(
             [](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::preparing); }),
         {}},
        {"completed with skipped items, not verified",
         ready([](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completedWithSkipped, 2);
         }),
         {card::quickVerify(kPrimary)}},
        {"completed, verification failed",
         ready([](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::quick, VerificationStatus::failed);
         }),
         {card::quickVerify(kPrimary)}},
        {"completed and quick-verified",
         ready([](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completedWithSkipped, 2);
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
         }),
         {card::restoreTest(kPrimary)}},
        {"fully verified, restore test failed",
         ready([](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::full, VerificationStatus::verified);
             s.restoreTestSnapshot =
                 testing::finishedRun(VerificationMode::restoreTest, VerificationStatus::failed);
         }),
         {card::restoreTest(kPrimary)}},
        {"everything done through a verified restore test",
         ready([](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
             s.restoreTestSnapshot =
                 testing::finishedRun(VerificationMode::restoreTest, VerificationStatus::verified);
         }),
         {}},
        {"verification ignores the destination",
         ready([](StoredState& s) {
             s.backupDestination =
                 testing::destination(BackupDestinationStatus::missing, true, "Travel Disk");
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
         }),
         {card::chooseDrive(DestinationQuality::missing, kPrimary), card::quickVerify(kSecondary)}},
        {"a restore test looks at neither destination nor job",
         ready([](StoredState& s) {
             s.backupDestination.reset();
             s.backupSnapshot = testing::placeholderJob();
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::full, VerificationStatus::verified);
         }),
         {card::chooseDrive(DestinationQuality::notSelected, kPrimary),
          card::restoreTest(kSecondary)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(actionsFor(c.state()), c.expected);
    }
}

TEST(NextBestActionEngineTest, SectionOpenedAfterEachAction) {
    struct Case {
        NextBestActionKind kind;
        const char* section;
    };
    const std::vector<Case> cases{
        {NextBestActionKind::runICloudScan, "iCloudDriveSafety"},
        {NextBestActionKind::scanPhotos, "photosSafety"},
        {NextBestActionKind::chooseExternalDrive, "backupDestination"},
        {NextBestActionKind::downloadCloudOnlyFiles, "iCloudDriveSafety"},
        {NextBestActionKind::prepareBackup, "backupDestination"},
        {NextBestActionKind::startCopy, "backupDestination"},
        {NextBestActionKind::quickVerify, "verification"},
        {NextBestActionKind::restoreTest, "verification"},
    };
    ASSERT_EQ(cases.size(), allCases<NextBestActionKind>().size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(rawValue(cases[i].kind));
        EXPECT_EQ(caseIndex(cases[i].kind), i);
        EXPECT_EQ(rawValue(sectionOpenedAfter(cases[i].kind)), cases[i].section);
    }
}

TEST(NextBestActionTest, IdFollowsKindThroughJson) {
    const NextBestAction action = card::startCopy(true, true);
    EXPECT_EQ(action.id, "startCopy");
    const Json json = action;
    EXPECT_EQ(json.at("id"), "startCopy");
    EXPECT_EQ(json.at("kind"), "startCopy");
    EXPECT_EQ(json.at("priority"), 40);
    EXPECT_EQ(json.get<NextBestAction>(), action);

    Json tampered = json;
    tampered["id"] = "quickVerify";
    EXPECT_THROW(tampered.get<NextBestAction>(), Json::exception);
    tampered = json;
    tampered["kind"] = "resumeCopy";
    EXPECT_THROW(tampered.get<NextBestAction>(), Json::exception);
}

// Inputs drawn from every value each field can take, including combinations the
// application would not normally store together.
class RandomState {
public:
    explicit RandomState(std::uint64_t seed) : m_rng(seed) {}

    StoredState next() {
        StoredState s = StoredState::freshInstall();
        if (!oneIn(4)) {
            s.iCloudSummary =
                testing::iCloudSummaryOf(pick(3), pick(3), pick(3) * pick(2), pick(2), pick(2));
            if (oneIn(8))
                s.iCloudSummary->scannedItemCount = 0;
        }
        if (!oneIn(3))
            s.photosSummary = testing::photosScan(any<PhotosAuthorizationState>());
        if (!oneIn(4)) {
            s.backupDestination =
                testing::destination(any<BackupDestinationStatus>(), oneIn(2), "Drive");
        }
        if (!oneIn(4))
            s.backupSnapshot = testing::jobIn(any<BackupJobStatus>(), pick(3));
        s.verificationSnapshot.status = any<VerificationStatus>();
        s.restoreTestSnapshot.status = any<VerificationStatus>();
        s.allowLocalTestDestination = oneIn(2);
        return s;
    }

private:
    std::int64_t pick(std::uint64_t n) { return static_cast<std::int64_t>(m_rng() % n); }
    bool oneIn(std::uint64_t n) { return m_rng() % n == 0; }
    template <typename E>
    E any() {
        const auto& cases = allCases<E>();
        return cases[m_rng() % cases.size()].value;
    }

    std::mt19937_64 m_rng;
};

TEST(NextBestActionEngineTest, AnyInputGivesOneActionPerKindOnePrimaryAndFallingPriority) {
    RandomState random(20'260'611);
    std::set<NextBestActionKind> seenKinds;
    std::size_t longest = 0;
    for (int round = 0; round < 5000; ++round) {
        const StoredState state = random.next();
        const auto actions = actionsFor(state);
        SCOPED_TRACE(::testing::Message() << "round " << round);

        std::set<NextBestActionKind> kinds;
        for (std::size_t i = 0; i < actions.size(); ++i) {
            const auto& action = actions[i];
            EXPECT_TRUE(kinds.insert(action.kind).second) << "twice: " << rawValue(action.kind);
            EXPECT_EQ(action.id, rawValue(action.kind));
            EXPECT_EQ(action.isPrimary, i == 0);
            if (i > 0) {
                EXPECT_GT(actions[i - 1].priority, action.priority);
            }
        }
        EXPECT_LE(actions.size(), 8u);
        seenKinds.insert(kinds.begin(), kinds.end());
        longest = std::max(longest, actions.size());

        // Steps that exclude each other never appear together.
        EXPECT_FALSE(kinds.count(NextBestActionKind::prepareBackup) &&
                     kinds.count(NextBestActionKind::startCopy));
        EXPECT_FALSE(kinds.count(NextBestActionKind::quickVerify) &&
                     kinds.count(NextBestActionKind::restoreTest));
        // Work on the second copy is offered only where it can be done.
        const auto quality =
            makeDestinationQuality(state.backupDestination, state.allowLocalTestDestination);
        EXPECT_EQ(kinds.count(NextBestActionKind::chooseExternalDrive) == 1,
                  quality != DestinationQuality::externalReady);
        if (kinds.count(NextBestActionKind::prepareBackup) ||
            kinds.count(NextBestActionKind::startCopy)) {
            EXPECT_TRUE(canPrepare(quality)) << rawValue(quality);
        }

        EXPECT_EQ(actionsFor(state), actions) << "same inputs, same list";
        if (::testing::Test::HasFailure())
            break;
    }
    // The drawn states reach every rule and long lists.
    EXPECT_EQ(seenKinds.size(), allCases<NextBestActionKind>().size());
    EXPECT_GE(longest, 5u);
}

}  // namespace
}  // namespace tallowmere
