#include "core/verification/VerificationSampler.h"

#include <algorithm>
#include <string>

namespace tallowmere::VerificationSampler {
namespace {

// Walks the picks in order; an item that would take the running total over the limit is
// passed over and the walk goes on, so a later, smaller item may still fit. An absent or
// non-positive size counts 0. The first item is always taken.
std::vector<BackupManifestItem> itemsWithinByteLimit(std::vector<BackupManifestItem> picks,
                                                     std::int64_t byteLimit) {
    std::vector<BackupManifestItem> taken;
    std::int64_t total = 0;
    for (auto& item : picks) {
        const std::int64_t size = std::max<std::int64_t>(item.fileSize.value_or(0), 0);
        if (taken.empty()) {
            total = size;
            taken.push_back(std::move(item));
        } else if (size <= byteLimit - total) {
            // Written as a difference so that huge recorded sizes cannot overflow the sum.
            total += size;
            taken.push_back(std::move(item));
        }
    }
    return taken;
}

std::vector<BackupManifestItem> boundedSpreadSample(const std::vector<BackupManifestItem>& items,
                                                    std::int64_t fileLimit,
                                                    std::int64_t byteLimit) {
    struct Keyed {
        const BackupManifestItem* item;
        std::string idText;
    };
    std::vector<Keyed> kept;
    for (const auto& item : items) {
        if (item.status == BackupItemStatus::copied ||
            item.status == BackupItemStatus::alreadyCopied) {
            kept.push_back({&item, item.id.toString()});
        }
    }
    std::sort(kept.begin(), kept.end(), [](const Keyed& a, const Keyed& b) {
        if (a.item->relativePath != b.item->relativePath)
            return a.item->relativePath < b.item->relativePath;
        return a.idText < b.idText;
    });

    const auto n = static_cast<std::int64_t>(kept.size());
    std::vector<BackupManifestItem> picks;
    if (fileLimit >= n) {
        for (const auto& entry : kept) picks.push_back(*entry.item);
    } else {
        const std::int64_t k = fileLimit;
        const std::int64_t divisor = std::max<std::int64_t>(k - 1, 1);
        std::int64_t lastPicked = -1;
        for (std::int64_t i = 0; i < k; ++i) {
            const std::int64_t index = i == k - 1 ? n - 1 : (n - 1) * i / divisor;
            // The indices never decrease, so a repeat can only be of the previous pick.
            if (index == lastPicked)
                continue;
            lastPicked = index;
            picks.push_back(*kept[static_cast<std::size_t>(index)].item);
        }
    }
    return itemsWithinByteLimit(std::move(picks), byteLimit);
}

}  // namespace

std::vector<BackupManifestItem> quickSample(const std::vector<BackupManifestItem>& items) {
    return boundedSpreadSample(items, quickSampleFileLimit, quickSampleByteLimit);
}

std::vector<BackupManifestItem> restoreSample(const std::vector<BackupManifestItem>& items) {
    return boundedSpreadSample(items, restoreSampleFileLimit, restoreSampleByteLimit);
}

}  // namespace tallowmere::VerificationSampler
