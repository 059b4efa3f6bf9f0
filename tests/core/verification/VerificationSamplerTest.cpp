#include "core/verification/VerificationSampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace tallowmere {
namespace {

using Status = BackupItemStatus;

BackupManifestItem item(std::string relativePath, std::optional<std::int64_t> size,
                        Status status = Status::copied) {
    BackupManifestItem item;
    item.id = Uuid::random();
    item.jobID = Uuid::random();
    item.relativePath = std::move(relativePath);
    item.destinationPath = "/media/alex/Drive/Tallowmere Backup/" + item.relativePath;
    item.fileSize = size;
    item.status = status;
    return item;
}

std::vector<std::string> paths(const std::vector<BackupManifestItem>& items) {
    std::vector<std::string> out;
    for (const auto& i : items) out.push_back(i.relativePath);
    return out;
}

std::string numbered(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "file-%04d.txt", index);
    return name;
}

TEST(VerificationSamplerTest, QuickSampleOfAThousandItemsSpreadsFromFirstToLast) {
    std::vector<BackupManifestItem> items;
    for (int i = 0; i < 1000; ++i) items.push_back(item(numbered(i), 10));
    // Given in a scrambled order, with items that must never be sampled between them.
    std::shuffle(items.begin(), items.end(), std::mt19937(7));
    for (const auto status : {Status::pending, Status::skipped, Status::conflict, Status::failed})
        items.push_back(item("aaa-" + std::string(rawValue(status)), 10, status));

    const auto sample = VerificationSampler::quickSample(items);

    std::vector<std::string> expected;
    for (int i = 0; i < 99; ++i) expected.push_back(numbered(999 * i / 99));
    expected.push_back(numbered(999));
    EXPECT_EQ(paths(sample), expected);
    ASSERT_EQ(sample.size(), 100u);
    const std::vector<std::string> head(expected.begin(), expected.begin() + 4);
    EXPECT_EQ(head,
              (std::vector<std::string>{numbered(0), numbered(10), numbered(20), numbered(30)}));
    EXPECT_EQ(expected[97], numbered(978));
    EXPECT_EQ(expected[98], numbered(988));
}

TEST(VerificationSamplerTest, TakesEveryCopiedItemInPathOrderWhenTheyAreFewerThanTheLimit) {
    const auto first = item("b.txt", 1);
    auto tiedLow = item("a.txt", 1, Status::alreadyCopied);
    auto tiedHigh = item("a.txt", 1);
    // Equal relative paths are ordered by the identifier's text.
    tiedLow.id = *Uuid::fromString("00000000-0000-4000-8000-000000000001");
    tiedHigh.id = *Uuid::fromString("F0000000-0000-4000-8000-000000000001");

    const auto sample = VerificationSampler::restoreSample({first, tiedHigh, tiedLow});

    ASSERT_EQ(sample.size(), 3u);
    EXPECT_EQ(sample[0], tiedLow);
    EXPECT_EQ(sample[1], tiedHigh);
    EXPECT_EQ(sample[2], first);
}

TEST(VerificationSamplerTest, RestoreSampleOfSixItemsKeepsTheLastAndSpreadsTheRest) {
    std::vector<BackupManifestItem> items;
    for (int i = 0; i < 6; ++i) items.push_back(item(numbered(i), 1));
    EXPECT_EQ(paths(VerificationSampler::restoreSample(items)),
              (std::vector<std::string>{numbered(0), numbered(1), numbered(2), numbered(3),
                                        numbered(5)}));
}

TEST(VerificationSamplerTest, ItemsThatWereNotCopiedNeverEnterASample) {
    std::vector<BackupManifestItem> items;
    for (const auto status : {Status::pending, Status::skipped, Status::conflict, Status::failed})
        items.push_back(item(std::string(rawValue(status)), 1, status));
    EXPECT_TRUE(VerificationSampler::quickSample(items).empty());
    EXPECT_TRUE(VerificationSampler::restoreSample(items).empty());
    EXPECT_TRUE(VerificationSampler::quickSample({}).empty());
}

TEST(VerificationSamplerTest, ByteLimitKeepsTheFirstItemAndPassesOverItemsThatDoNotFit) {
    struct Case {
        const char* name;
        bool quick;
        std::vector<std::optional<std::int64_t>> sizes;
        std::vector<int> expected;
    };
    const std::vector<Case> cases{
        {"a first item over the limit is kept and nothing fits after it",
         true,
         {3'000'000'000, 1, 0, std::nullopt},
         {0}},
        {"an item that does not fit is passed over, a later one still may, and the limit itself "
         "fits",
         false,
         {100'000'000, 200'000'000, 100'000'000, 50'000'000, 1},
         {0, 2, 3}},
        {"absent and negative sizes count zero and never make room",
         false,
         {200'000'000, -100'000'000, std::nullopt, 50'000'000, 1},
         {0, 1, 2, 3}},
        {"sizes near the largest integer do not overflow the total",
         true,
         {1'999'999'999, INT64_MAX, 1, INT64_MAX},
         {0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BackupManifestItem> items;
        for (std::size_t i = 0; i < c.sizes.size(); ++i)
            items.push_back(item(numbered(static_cast<int>(i)), c.sizes[i]));
        const auto sample = c.quick ? VerificationSampler::quickSample(items)
                                    : VerificationSampler::restoreSample(items);
        std::vector<std::string> expected;
        for (const int index : c.expected) expected.push_back(numbered(index));
        EXPECT_EQ(paths(sample), expected);
    }
}

}  // namespace
}  // namespace tallowmere
