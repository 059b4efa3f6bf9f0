#pragma once

#include <QWidget>
#include <functional>

namespace tallowmere {

class AppModel;
class DialogPrompts;
class Formatting;

// Makes the main window (or its content) for the running model. The dialogs are there for
// screens that ask for a folder.
using MainWindowFactory =
    std::function<QWidget*(AppModel& model, const Formatting& formatting, DialogPrompts& dialogs)>;

// Runs Tallowmere until the user quits or the session ends it: one instance per user (a
// second launch shows the first one's window and ends), the model with the interface's
// dialogs, and the shell with its main window, settings window and tray icon. Returns the
// process's exit code.
int runApplication(int argc, char** argv, const MainWindowFactory& makeMainWindow);

}  // namespace tallowmere
