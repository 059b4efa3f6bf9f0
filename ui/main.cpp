#include <QTabWidget>

#include "ui/dialogs/DialogPrompts.h"
#include "ui/screens/BackupDestinationView.h"
#include "ui/screens/ReportsView.h"
#include "ui/screens/SettingsView.h"
#include "ui/screens/VerificationView.h"
#include "ui/shell/ApplicationMain.h"

int main(int argc, char** argv) {
    using namespace tallowmere;
    return runApplication(
        argc, argv, [](AppModel& model, const Formatting& formatting, DialogPrompts& dialogs) {
            // Until the main window with its sidebar joins: the screens of
            // the second copy and the account side by side in tabs.
            auto* tabs = new QTabWidget;
            tabs->addTab(new BackupDestinationView(model, formatting, dialogs),
                         QStringLiteral("Backup Destination"));
            tabs->addTab(new VerificationView(model, formatting), QStringLiteral("Verification"));
            tabs->addTab(new ReportsView(model, formatting), QStringLiteral("Reports"));
            tabs->addTab(new SettingsView(model), QStringLiteral("Settings"));
            return tabs;
        });
}
