#pragma once

#include <cstdint>
#include <vector>

#include "core/secondcopy/BackupManifestItem.h"

// Which copied items a quick verification or a restore test looks at: a sample spread evenly
// from the first to the last item in relative-path order, bounded in files and in bytes.
// Only `copied` and `alreadyCopied` items ever enter a sample. Pure functions.
namespace tallowmere::VerificationSampler {

inline constexpr std::int64_t quickSampleFileLimit = 100;
// Decimal bytes.
inline constexpr std::int64_t quickSampleByteLimit = 2'000'000'000;
inline constexpr std::int64_t restoreSampleFileLimit = 5;
inline constexpr std::int64_t restoreSampleByteLimit = 250'000'000;

// At most 100 items and 2,000,000,000 bytes; the first sampled item is kept even when it
// alone is larger.
std::vector<BackupManifestItem> quickSample(const std::vector<BackupManifestItem>& items);

// At most 5 items and 250,000,000 bytes, chosen the same way.
std::vector<BackupManifestItem> restoreSample(const std::vector<BackupManifestItem>& items);

}  // namespace tallowmere::VerificationSampler
