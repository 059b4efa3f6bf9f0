#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere {

// A primary button that does more than move on: it starts a workflow, then moves on.
struct OnboardingAction {
    std::string title;
    std::string systemImage;
    std::function<void()> handler;
};

// One page of the first-run sheet.
struct OnboardingStep {
    std::string title;
    std::string subtitle;
    std::string systemImage;
    std::vector<std::string> points;
    std::string primaryTitle;
    std::string primaryImage;
    std::optional<OnboardingAction> primaryAction;
};

// What the sheet's two workflow buttons do; each is given by the sheet, which also moves
// on to the next step.
struct OnboardingHandlers {
    std::function<void()> runICloudScan;
    std::function<void()> runPhotosScan;
};

// "Privacy", "iCloud", "Photos", "Destination", "Verify": one name per step, in order.
const std::vector<std::string>& onboardingStepNames();

// The five steps in order, the iCloud and Photos steps carrying the given handlers.
std::vector<OnboardingStep> onboardingSteps(const OnboardingHandlers& handlers);

}  // namespace tallowmere
