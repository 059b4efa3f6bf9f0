#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/platform/Bytes.h"
#include "core/platform/Json.h"

namespace tallowmere {

// Where a scan root came from. The raw value is stored with the root.
enum class ICloudScanRootKind { iCloudDrive, desktop, documents, userSelected };

template <>
struct EnumTable<ICloudScanRootKind> {
    static constexpr std::array<EnumCase<ICloudScanRootKind>, 4> kCases{{
        {ICloudScanRootKind::iCloudDrive, "iCloudDrive", "iCloud Drive"},
        {ICloudScanRootKind::desktop, "desktop", "Desktop"},
        {ICloudScanRootKind::documents, "documents", "Documents"},
        {ICloudScanRootKind::userSelected, "userSelected", "Added folder"},
    }};
};

// A folder the iCloud Drive scan walks: one found by the detector or one the user added.
struct ICloudScanRoot {
    Uuid id;
    // Absolute, standardized path of the folder; unique among stored roots.
    std::string path;
    std::string displayName;
    ICloudScanRootKind kind = ICloudScanRootKind::userSelected;
    bool isDetected = false;
    // Only selected roots are scanned; removing a root from the list clears this flag.
    bool isSelected = true;
    // Bookmark of a user-added folder; detected roots never carry one.
    std::optional<Bytes> bookmarkData;
    Date createdAt;
    // Set by the store when a scan that covered the root is saved.
    std::optional<Date> lastScannedAt;

    bool operator==(const ICloudScanRoot&) const = default;
};

// Bookmark bytes are written as base64 text.
void to_json(Json& json, const ICloudScanRoot& root);
void from_json(const Json& json, ICloudScanRoot& root);

}  // namespace tallowmere
