#include "app/AppModel.h"
#include "app/SettingsKeys.h"
#include "app/StaleReminderDays.h"

namespace tallowmere {
namespace {

constexpr const char* kOnboardingFailure = "Tallowmere could not save onboarding state.";
constexpr const char* kReminderFailure = "Tallowmere could not save local reminder settings.";

}  // namespace

void AppModel::completeOnboarding() {
    publish(m_hasCompletedOnboarding, true, &AppModel::hasCompletedOnboardingChanged);
    try {
        m_settingsRepository->setBool(true, SettingsKeys::kHasCompletedOnboarding);
    } catch (const std::exception&) {
        setStatusMessage(kOnboardingFailure);
    }
}

void AppModel::resetOnboarding() {
    publish(m_hasCompletedOnboarding, false, &AppModel::hasCompletedOnboardingChanged);
    try {
        m_settingsRepository->setBool(false, SettingsKeys::kHasCompletedOnboarding);
    } catch (const std::exception&) {
        setStatusMessage(kOnboardingFailure);
    }
}

void AppModel::setLocalReminderBackupCompleted(bool enabled) {
    publish(m_localReminderBackupCompleted, enabled,
            &AppModel::localReminderBackupCompletedChanged);
    try {
        m_settingsRepository->setBool(enabled, SettingsKeys::kLocalReminderBackupCompleted);
    } catch (const std::exception&) {
        setStatusMessage(kReminderFailure);
    }
}

void AppModel::setLocalReminderDriveMissing(bool enabled) {
    publish(m_localReminderDriveMissing, enabled, &AppModel::localReminderDriveMissingChanged);
    try {
        m_settingsRepository->setBool(enabled, SettingsKeys::kLocalReminderDriveMissing);
    } catch (const std::exception&) {
        setStatusMessage(kReminderFailure);
    }
}

void AppModel::setBackupStaleReminderDays(int days) {
    const int clamped = StaleReminderDays::clamped(days);
    publish(m_backupStaleReminderDays, clamped, &AppModel::backupStaleReminderDaysChanged);
    try {
        m_settingsRepository->setString(std::to_string(clamped),
                                        SettingsKeys::kBackupStaleReminderDays);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not save backup reminder settings.");
    }
}

void AppModel::setAllowLocalBackupTestDestination(bool allowed) {
    publish(m_allowLocalBackupTestDestination, allowed,
            &AppModel::allowLocalBackupTestDestinationChanged);
    try {
        m_settingsRepository->setBool(allowed, SettingsKeys::kAllowLocalBackupTestDestination);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not save backup destination settings.");
        return;
    }
    if (allowed) {
        setStatusMessage(
            "Local test destinations are enabled for backup copying. Use an external drive for a "
            "real second copy.");
        recordEvent(ActivityEventKind::destination, "Local test destination mode enabled",
                    m_statusMessage, SafetyState::needsAttention, AppSection::settings);
    } else {
        setStatusMessage("Local test destinations are disabled.");
        recordEvent(ActivityEventKind::destination, "Local test destination mode disabled",
                    m_statusMessage, SafetyState::protected_, AppSection::settings);
    }
}

}  // namespace tallowmere
