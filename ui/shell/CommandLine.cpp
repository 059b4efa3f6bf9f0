#include "ui/shell/CommandLine.h"

#include <QCommandLineParser>

#include "app/BundleInformation.h"

namespace tallowmere {

QString versionText() {
    const BundleInformation bundle = compiledBundleInformation();
    return QStringLiteral("Tallowmere %1 (build %2)")
        .arg(bundle.value(QLatin1String(BundleKeys::kShortVersion)).toString(),
             bundle.value(QLatin1String(BundleKeys::kBuild)).toString());
}

CommandLineRequest readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tallowmere tells you how safe your files and photos are and helps you "
                       "make and check a second copy. It only reads your originals."));
    // Our own help option: Qt's would also offer a help on options this program leaves to Qt.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const bool understood = parser.parse(arguments);

    if (parser.isSet(help)) {
        // The usage line names the program as it is installed, whatever path started it.
        QString text = parser.helpText();
        const qsizetype usageEnd = text.indexOf(QLatin1Char('\n'));
        text.replace(0, usageEnd, QStringLiteral("Usage: tallowmere [options]"));
        return {CommandLineRequest::Action::print, text};
    }
    if (parser.isSet(version))
        return {CommandLineRequest::Action::print, versionText() + QLatin1Char('\n')};
    if (!understood)
        return {
            CommandLineRequest::Action::refuse,
            QStringLiteral("tallowmere: %1\nTry 'tallowmere --help'.\n").arg(parser.errorText())};
    if (!parser.positionalArguments().isEmpty())
        return {CommandLineRequest::Action::refuse,
                QStringLiteral("tallowmere: unexpected argument '%1'\nTry 'tallowmere --help'.\n")
                    .arg(parser.positionalArguments().constFirst())};
    return {};
}

}  // namespace tallowmere
