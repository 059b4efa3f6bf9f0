#include "ui/shell/ApplicationMain.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <cstdio>
#include <exception>

#include "app/AppModel.h"
#include "ui/dialogs/DialogPrompts.h"
#include "ui/shell/ApplicationShell.h"
#include "ui/shell/CommandLine.h"
#include "ui/shell/InstanceGate.h"
#include "ui/shell/QuitOnSignals.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

}  // namespace

int runApplication(int argc, char** argv, const MainWindowFactory& makeMainWindow) {
    // --help and --version are answered before the window system is reached, so that they
    // work without a display and never open the store.
    if (const CommandLineRequest request = readCommandLine(argumentsOf(argc, argv));
        request.action == CommandLineRequest::Action::print) {
        std::fputs(request.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // The window system's own options are gone now; anything left is a mistake.
    if (const CommandLineRequest request = readCommandLine(QApplication::arguments());
        request.action == CommandLineRequest::Action::refuse) {
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return kExitCodeForBadUsage;
    }
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
    AppModel* shared = nullptr;
    try {
        shared = &AppModel::shared();
    } catch (const std::exception&) {
        // Not even temporary storage could be made: there is nothing to show.
        std::fputs("Tallowmere could not create its local storage.\n", stderr);
        return 1;
    }
    AppModel& model = *shared;

    ApplicationShell::Options options;
    options.systemTray = QSystemTrayIcon::isSystemTrayAvailable();
    ApplicationShell shell(
        model, [&] { return makeMainWindow(model); }, options);
    QObject::connect(&gate, &InstanceGate::reopenRequested, &shell,
                     &ApplicationShell::showDashboard);
    shell.start();
    dialogs->setParentWindow(shell.mainWindow());
    return QApplication::exec();
}

}  // namespace tallowmere
