#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/icloud/ICloudFileState.h"
#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// One row recorded by a scan: a classified item or a problem met on the way.
struct ICloudFileScanResult {
    Uuid id;
    Uuid scanRunID;
    Uuid rootID;
    std::string path;
    std::string displayName;
    bool isDirectory = false;
    // Logical size in bytes as the file system reports it.
    std::optional<std::int64_t> fileSize;
    // Content modification date.
    std::optional<Date> modifiedAt;
    ICloudFileState state = ICloudFileState::unknown;
    ConfidenceLevel confidence = ConfidenceLevel::unknown;
    std::string reason;
    Date scannedAt;

    bool operator==(const ICloudFileScanResult&) const = default;
};

void to_json(Json& json, const ICloudFileScanResult& result);
void from_json(const Json& json, ICloudFileScanResult& result);

}  // namespace tallowmere
