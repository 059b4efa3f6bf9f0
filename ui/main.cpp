#include <QDialog>
#include <QVBoxLayout>

#include "ui/MainWindow.h"
#include "ui/RootView.h"
#include "ui/dialogs/DialogPrompts.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/screens/BackupDestinationView.h"
#include "ui/screens/ReportsView.h"
#include "ui/screens/SettingsView.h"
#include "ui/screens/VerificationView.h"
#include "ui/shell/ApplicationMain.h"

namespace {

using namespace tallowmere;

// The first-run sheet: the onboarding steps in a 660 x 520 dialog over the main window.
QDialog* makeOnboardingSheet(AppModel& model, QWidget* parent) {
    auto* sheet = new QDialog(parent);
    sheet->setObjectName(QStringLiteral("onboardingSheet"));
    sheet->setFixedSize(660, 520);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new OnboardingView(model, [sheet] { sheet->accept(); }));
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    return runApplication(
        argc, argv, [](AppModel& model, const Formatting& formatting, DialogPrompts& dialogs) {
            auto* window = new MainWindow(model);
            RootView* root = window->rootView();
            root->setSectionView(AppSection::backupDestination,
                                 new BackupDestinationView(model, formatting, dialogs));
            root->setSectionView(AppSection::verification, new VerificationView(model, formatting));
            root->setSectionView(AppSection::reports, new ReportsView(model, formatting));
            root->setSectionView(AppSection::settings, new SettingsView(model));
            root->setOnboardingPresenter(
                [&model](QWidget* parent) { return makeOnboardingSheet(model, parent); });
            return window;
        });
}
