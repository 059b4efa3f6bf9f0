#include "core/photos/PhotosLibraryCandidate.h"

#include <gtest/gtest.h>

#include "core/photos/PhotoLibrary.h"
#include "tests/support/EnumTableCheck.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

TEST(PhotosLibraryCandidateTest, JsonUsesFieldNamesAndLeavesOutAnAbsentSize) {
    PhotosLibraryCandidate candidate;
    candidate.id = Uuid::fromString("0F0E0D0C-0B0A-4908-8706-050403020100").value();
    candidate.path = "/home/ann/Pictures/Photos Library.photoslibrary";
    candidate.displayName = "Photos Library.photoslibrary";
    candidate.exists = true;
    candidate.estimatedSizeBytes = 5'000'000'000;
    candidate.detectedAt = Date(1'765'000'000);

    const Json json = candidate;
    EXPECT_EQ(json, Json::parse(R"({
        "id": "0F0E0D0C-0B0A-4908-8706-050403020100",
        "path": "/home/ann/Pictures/Photos Library.photoslibrary",
        "displayName": "Photos Library.photoslibrary",
        "exists": true,
        "estimatedSizeBytes": 5000000000,
        "detectedAt": "2025-12-06T05:46:40Z"
    })"));
    EXPECT_EQ(json.get<PhotosLibraryCandidate>(), candidate);

    candidate.exists = false;
    candidate.estimatedSizeBytes.reset();
    const Json missing = candidate;
    EXPECT_FALSE(missing.contains("estimatedSizeBytes"));
    EXPECT_EQ(missing.get<PhotosLibraryCandidate>(), candidate);
}

TEST(PhotoLibraryTest, MediaTypes) {
    testing::expectEnumCases<PhotoMediaType>({
        {PhotoMediaType::unknown, "unknown", "Unknown"},
        {PhotoMediaType::image, "image", "Image"},
        {PhotoMediaType::video, "video", "Video"},
        {PhotoMediaType::audio, "audio", "Audio"},
    });
}

}  // namespace
}  // namespace tallowmere
