#include "app/SupportDiagnostics.h"

namespace tallowmere {

std::vector<std::string> SupportDiagnosticsExport::standardRedactions() {
    return {
        "No file paths",
        "No iCloud scan results or counts",
        "No Photos metadata or asset counts",
        "No backup manifests",
        "No checksums",
        "No reports",
        "No user files or photos",
    };
}

void to_json(Json& json, const SupportDiagnosticsExport& diagnostics) {
    json = Json::object();
    json["appVersion"] = diagnostics.appVersion;
    json["build"] = diagnostics.build;
    json["macOSVersion"] = diagnostics.macOSVersion;
    putOptional(json, "lastScanAt", diagnostics.lastScanAt);
    putOptional(json, "lastPhotosScanAt", diagnostics.lastPhotosScanAt);
    json["backupStatus"] = diagnostics.backupStatus;
    json["verificationStatus"] = diagnostics.verificationStatus;
    json["generatedAt"] = diagnostics.generatedAt;
    json["privacyRedactions"] = diagnostics.privacyRedactions;
}

}  // namespace tallowmere
