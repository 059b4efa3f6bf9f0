#include "app/AppModel.h"

namespace tallowmere {

void AppModel::checkForUpdates() {
    if (m_updateController) {
        m_updateController->checkForUpdates();
        setStatusMessage("Opened Tallowmere update checker.");
        return;
    }
    if (m_environment.desktop->openUrl(m_websiteConfiguration.downloadURL))
        setStatusMessage(
            "Self-updates are not configured in this build, so Tallowmere opened the download "
            "page instead.");
    else
        setStatusMessage("Tallowmere could not open the download page.");
}

void AppModel::openSupportPage() {
    if (m_environment.desktop->openUrl(m_websiteConfiguration.supportURL))
        setStatusMessage("Opened Tallowmere support. No local safety data was sent.");
    else
        setStatusMessage("Tallowmere could not open the support page.");
}

}  // namespace tallowmere
