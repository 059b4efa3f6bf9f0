#pragma once

#include <string>

#include "core/icloud/ICloudFileMetadata.h"
#include "core/icloud/ICloudFileState.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// The classifier's answer for one item: its state, how sure that is, and one sentence
// shown to the user and stored with the item.
struct ICloudClassification {
    ICloudFileState state = ICloudFileState::unknown;
    ConfidenceLevel confidence = ConfidenceLevel::unknown;
    std::string reason;

    bool operator==(const ICloudClassification&) const = default;
};

// Decides from an item's metadata alone whether a real local copy exists. Pure.
namespace ICloudFileClassifier {

// The first rule that matches decides ("true"/"false" mean reported as such; an absent
// value satisfies neither):
//   1. a downloading or uploading error, or conflicts true  possibleSyncIssue  likely
//   2. permission denied                                    excluded           verified
//   3. skipped by a limit                                   excluded           verified
//   4. excluded from sync                                   excluded           verified
//   5. symbolic link, package or hidden                     excluded           verified
//   6. ubiquitous item false                                unknown            unknown
//   7. uploading true                                       waitingToUpload    likely
//   8. uploaded false                                       waitingToUpload    likely
//   9. downloading true                                     waitingToDownload  likely
//  10. download requested true, status neither current nor downloaded
//                                                           waitingToDownload  likely
//  11. status current                                       localCurrent       verified
//  12. status downloaded                                    downloaded         verified
//  13. status not downloaded                                cloudOnly          likely
//  14. otherwise                                            unknown            unknown
// Whether the item is a folder or a regular file plays no part.
ICloudClassification classify(const ICloudFileMetadata& metadata);

}  // namespace ICloudFileClassifier

}  // namespace tallowmere
