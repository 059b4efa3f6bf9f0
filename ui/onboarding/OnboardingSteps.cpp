#include "ui/onboarding/OnboardingSteps.h"

namespace tallowmere {

const std::vector<std::string>& onboardingStepNames() {
    static const std::vector<std::string> names{"Privacy", "iCloud", "Photos", "Destination",
                                                "Verify"};
    return names;
}

std::vector<OnboardingStep> onboardingSteps(const OnboardingHandlers& handlers) {
    std::vector<OnboardingStep> steps;
    steps.push_back({
        .title = "Tallowmere stays local first.",
        .subtitle = "Scans, reports, paths, manifests, checksums, files, and photos stay on this "
                    "Mac unless you explicitly export diagnostics.",
        .systemImage = "lock.shield.fill",
        .points = {"iCloud scans read metadata only.", "Photos scans read PhotoKit metadata only.",
                   "Backup workflows never delete, move, or edit originals."},
        .primaryTitle = "Continue",
        .primaryImage = "arrow.right",
        .primaryAction = std::nullopt,
    });
    steps.push_back({
        .title = "Start with iCloud Drive Safety.",
        .subtitle = "A read-only scan separates files that appear local from files that may only "
                    "exist in iCloud.",
        .systemImage = "icloud.fill",
        .points = {"No downloads are forced.", "Cloud-only files are explained before backup.",
                   "Some iCloud server-side issues remain unknowable from your Mac."},
        .primaryTitle = "Run iCloud Scan",
        .primaryImage = "arrow.clockwise",
        .primaryAction =
            OnboardingAction{"Run iCloud Scan", "arrow.clockwise", handlers.runICloudScan},
    });
    steps.push_back({
        .title = "Photos Safety is optional.",
        .subtitle = "Tallowmere asks for Photos access only when you choose to scan Photos "
                    "metadata.",
        .systemImage = "photo.on.rectangle.angled",
        .points = {"No originals are exported or copied.",
                   "No iCloud Photos downloads are triggered.",
                   "Local-original status remains clearly labeled when unknown."},
        .primaryTitle = "Scan Photos",
        .primaryImage = "photo.stack",
        .primaryAction = OnboardingAction{"Scan Photos", "photo.stack", handlers.runPhotosScan},
    });
    steps.push_back({
        .title = "Choose a real second-copy destination.",
        .subtitle = "An external drive is strongly recommended. Internal folders are for "
                    "explicit local testing only.",
        .systemImage = "externaldrive.fill",
        .points = {"Tallowmere writes only inside its own Tallowmere Backup folder.",
                   "Cloud-only and uncertain files are skipped until they are local.",
                   "Existing destination conflicts are recorded, not overwritten."},
        .primaryTitle = "Continue",
        .primaryImage = "arrow.right",
        .primaryAction = std::nullopt,
    });
    steps.push_back({
        .title = "Verification proves readability.",
        .subtitle = "After copying, Tallowmere can check the second copy and run a sample "
                    "restore test into a temporary folder.",
        .systemImage = "checkmark.seal.fill",
        .points = {"Quick verification checks a sample.",
                   "Full verification checks every copied file.",
                   "Restore tests never write into original source folders."},
        .primaryTitle = "Continue",
        .primaryImage = "arrow.right",
        .primaryAction = std::nullopt,
    });
    return steps;
}

}  // namespace tallowmere
