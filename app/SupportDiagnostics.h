#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/platform/Json.h"

namespace tallowmere {

// What a support person may see: versions, two dates, two status words, the time of the
// export and what was left out. Nothing in it can name a file, a folder or a photo.
struct SupportDiagnosticsExport {
    std::string appVersion;
    std::string build;
    // The operating system as it describes itself.
    std::string macOSVersion;
    std::optional<Date> lastScanAt;
    std::optional<Date> lastPhotosScanAt;
    // Raw values of the latest backup job's and quick-or-full verification's status.
    std::string backupStatus;
    std::string verificationStatus;
    Date generatedAt;
    std::vector<std::string> privacyRedactions = standardRedactions();

    static std::vector<std::string> standardRedactions();

    bool operator==(const SupportDiagnosticsExport&) const = default;
};

// Exactly the nine members, absent dates left out.
void to_json(Json& json, const SupportDiagnosticsExport& diagnostics);

}  // namespace tallowmere
