#include <span>

#include "app/AppModel.h"
#include "app/ExportFileNames.h"
#include "app/SupportDiagnostics.h"

namespace tallowmere {
namespace {

std::string bundleText(const BundleInformation& bundle, const char* key) {
    const QVariant value = bundle.value(key);
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return "0";
    return value.toString().toStdString();
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void AppModel::exportReportCard(const LocalReportCard& cardToExport) {
    const LocalReportCard card = cardToExport;
    if (!m_environment.prompts)
        return;
    const auto destination = m_environment.prompts->chooseSaveLocation({
        .title = "Export Tallowmere Report",
        .prompt = "Export",
        .proposedFileName = ExportFileNames::reportCard(std::string(rawValue(card.kind)),
                                                        m_environment.clock->now()),
        .canCreateDirectories = true,
    });
    if (!destination)
        return;

    std::error_code error;
    try {
        error = m_environment.fileSystem->writeFileAtomically(*destination,
                                                              bytesOf(encodeJson(Json(card))));
    } catch (const std::exception&) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (error) {
        setStatusMessage("Tallowmere could not export that report.");
        return;
    }
    setStatusMessage("Report exported without file paths, manifests, checksums, files, or photos.");
    recordEvent(ActivityEventKind::report, std::string(label(card.kind)) + " exported",
                m_statusMessage, card.status, AppSection::reports);
}

void AppModel::exportSupportDiagnostics() {
    const bool confirmed =
        m_environment.prompts &&
        m_environment.prompts->confirm({
            .message = "Export privacy-safe support diagnostics?",
            .informativeText =
                "Tallowmere will export app version, build, macOS version, last scan dates, "
                "backup status, verification status, generation time, and the redaction list.\n\n"
                "The export omits file paths, Photos metadata, scan results, backup manifests, "
                "checksums, local reports, files, and photos. Review the JSON before attaching it "
                "to a support request.",
            .confirmButton = "Export",
            .cancelButton = "Cancel",
        });
    if (!confirmed) {
        setStatusMessage("Support diagnostics export cancelled.");
        return;
    }
    const auto destination = m_environment.prompts->chooseSaveLocation({
        .title = "Export Tallowmere Support Diagnostics",
        .prompt = "Export",
        .proposedFileName = ExportFileNames::diagnostics(m_environment.clock->now()),
        .canCreateDirectories = true,
    });
    if (!destination)
        return;

    SupportDiagnosticsExport diagnostics;
    diagnostics.appVersion = bundleText(m_environment.bundle, BundleKeys::kShortVersion);
    diagnostics.build = bundleText(m_environment.bundle, BundleKeys::kBuild);
    diagnostics.macOSVersion = m_environment.operatingSystemVersion;
    diagnostics.lastScanAt = m_dashboardSnapshot.lastScanAt;
    diagnostics.lastPhotosScanAt = m_photosSummary ? m_photosSummary->completedAt : std::nullopt;
    diagnostics.backupStatus = std::string(rawValue(m_backupSnapshot.status));
    diagnostics.verificationStatus = std::string(rawValue(m_verificationSnapshot.status));
    diagnostics.generatedAt = m_environment.clock->now();

    std::error_code error;
    try {
        error = m_environment.fileSystem->writeFileAtomically(
            *destination, bytesOf(encodeJson(Json(diagnostics))));
    } catch (const std::exception&) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (error) {
        setStatusMessage("Tallowmere could not export support diagnostics.");
        return;
    }
    setStatusMessage("Support diagnostics exported without file paths or local media data.");
    recordEvent(ActivityEventKind::diagnostics, "Support diagnostics exported", m_statusMessage,
                SafetyState::protected_, AppSection::settings);
}

}  // namespace tallowmere
