#pragma once

#include <array>

#include "core/platform/EnumText.h"

namespace tallowmere {

// The state of one scanned item: whether a real local copy exists right now.
enum class ICloudFileState {
    localCurrent,
    downloaded,
    cloudOnly,
    waitingToUpload,
    waitingToDownload,
    possibleSyncIssue,
    excluded,
    unknown
};

template <>
struct EnumTable<ICloudFileState> {
    static constexpr std::array<EnumCase<ICloudFileState>, 8> kCases{{
        {ICloudFileState::localCurrent, "localCurrent", "Local / current"},
        {ICloudFileState::downloaded, "downloaded", "Downloaded"},
        {ICloudFileState::cloudOnly, "cloudOnly", "Cloud-only"},
        {ICloudFileState::waitingToUpload, "waitingToUpload", "Waiting to upload"},
        {ICloudFileState::waitingToDownload, "waitingToDownload", "Waiting to download"},
        {ICloudFileState::possibleSyncIssue, "possibleSyncIssue", "Possible sync issue"},
        {ICloudFileState::excluded, "excluded", "Excluded"},
        {ICloudFileState::unknown, "unknown", "Unknown"},
    }};
};

}  // namespace tallowmere
