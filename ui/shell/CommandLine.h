#pragma once

#include <QString>
#include <QStringList>

namespace tallowmere {

// What the command line asks of Tallowmere. It has no work to take from a command line:
// only --help and --version, which print and end; the window system's own options
// (-platform, -style, ...) are taken out by the application object before the second
// reading.
struct CommandLineRequest {
    enum class Action {
        run,    // start the application
        print,  // write `text` to standard output and end successfully
        refuse  // write `text` to standard error and end with kExitCodeForBadUsage
    };
    Action action = Action::run;
    QString text;
};

inline constexpr int kExitCodeForBadUsage = 2;

// "Tallowmere <version> (build <number>)", from the values compiled into this build.
QString versionText();

// Reads `arguments` (the program's name first). Help wins over version, and both over an
// unknown option or a stray argument, so that they work even beside options only the
// window system knows.
CommandLineRequest readCommandLine(const QStringList& arguments);

}  // namespace tallowmere
