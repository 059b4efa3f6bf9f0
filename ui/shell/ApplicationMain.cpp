#include "ui/shell/ApplicationMain.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include "app/AppModel.h"
#include "app/LocaleFormatting.h"
#include "ui/dialogs/DialogPrompts.h"
#include "ui/shell/ApplicationShell.h"
#include "ui/shell/InstanceGate.h"
#include "ui/shell/QuitOnSignals.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

int runApplication(int argc, char** argv, const MainWindowFactory& makeMainWindow) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallowmere"));
    QApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QApplication::setDesktopFileName(QStringLiteral("tallowmere"));
    QApplication::setWindowIcon(
        Symbols::icon("checkmark.shield.fill", TMTheme::color(ThemeColor::trust)));

    InstanceGate gate(InstanceGate::defaultName());
    if (gate.forwardToRunningInstance())
        return 0;
    QuitOnSignals quitOnSignals;

    auto dialogs = std::make_shared<DialogPrompts>();
    AppModel::provideUserInterfaceServices(dialogs, nullptr);
    AppModel& model = AppModel::shared();
    const LocaleFormatting formatting;

    ApplicationShell::Options options;
    options.systemTray = QSystemTrayIcon::isSystemTrayAvailable();
    ApplicationShell shell(
        model, formatting, [&] { return makeMainWindow(model, formatting, *dialogs); }, options);
    QObject::connect(&gate, &InstanceGate::reopenRequested, &shell,
                     &ApplicationShell::showDashboard);
    shell.start();
    dialogs->setParentWindow(shell.mainWindow());
    return QApplication::exec();
}

}  // namespace tallowmere
