// Installs the built program into a folder of the test's own, as a packager would.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <map>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

struct DesktopEntry {
    std::map<QString, QString> values;
    QStringList problems;
};

// Reads the "[Desktop Entry]" group: every other line must be a comment, empty, or
// "Key=Value" with a key that appears once.
DesktopEntry readDesktopEntry(const QString& path) {
    DesktopEntry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        entry.problems << QStringLiteral("cannot be read");
        return entry;
    }
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!inGroup && line != QLatin1String("[Desktop Entry]"))
                entry.problems << QStringLiteral("first group is ") + line;
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || line.at(equals - 1).isSpace()) {
            entry.problems << QStringLiteral("not a key: ") + line;
            continue;
        }
        if (!inGroup) {
            entry.problems << QStringLiteral("outside the group: ") + line;
            continue;
        }
        if (!entry.values.emplace(line.left(equals), line.mid(equals + 1)).second)
            entry.problems << QStringLiteral("repeated: ") + line.left(equals);
    }
    return entry;
}

TEST(InstallTest, PutsTheProgramItsDesktopEntryAndItsIconWhereTheDesktopFindsThem) {
    const testing::TemporaryDirectory prefix;
    const QString root = QString::fromStdString(prefix.path().string());
    QProcess install;
    install.start(QStringLiteral(TALLOWMERE_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(TALLOWMERE_BUILD_DIR),
                   QStringLiteral("--prefix"), root});
    ASSERT_TRUE(install.waitForFinished(120'000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString program = root + QStringLiteral("/bin/tallowmere");
    const QString desktopFile = root + QStringLiteral("/share/applications/tallowmere.desktop");
    const QString icon = root + QStringLiteral("/share/icons/hicolor/scalable/apps/tallowmere.svg");
    EXPECT_TRUE(QFileInfo(program).isExecutable());

    const DesktopEntry entry = readDesktopEntry(desktopFile);
    EXPECT_TRUE(entry.problems.isEmpty()) << entry.problems.join(QLatin1String("; ")).toStdString();
    const std::pair<const char*, const char*> required[] = {
        {"Type", "Application"}, {"Name", "Tallowmere"}, {"Exec", "tallowmere"},
        {"Icon", "tallowmere"},  {"Terminal", "false"},
    };
    for (const auto& [key, value] : required) {
        SCOPED_TRACE(key);
        const auto found = entry.values.find(QLatin1String(key));
        ASSERT_NE(found, entry.values.end());
        EXPECT_EQ(found->second, QLatin1String(value));
    }
    // A list ends with ";" and names a main category.
    const QString categories = entry.values.count(QStringLiteral("Categories"))
                                   ? entry.values.at(QStringLiteral("Categories"))
                                   : QString();
    EXPECT_TRUE(categories.endsWith(QLatin1Char(';'))) << categories.toStdString();
    EXPECT_TRUE(categories.split(QLatin1Char(';')).contains(QStringLiteral("Utility")))
        << categories.toStdString();

    // The icon is a square picture that can be drawn.
    QSvgRenderer renderer(icon);
    EXPECT_TRUE(renderer.isValid()) << icon.toStdString();
    EXPECT_EQ(renderer.defaultSize().width(), renderer.defaultSize().height());

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.start(validator, {desktopFile});
        ASSERT_TRUE(validate.waitForFinished(30'000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }

    // The installed program is the one built here: it runs and says its version.
    QProcess version;
    version.start(program, {QStringLiteral("--version")});
    ASSERT_TRUE(version.waitForFinished(20'000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.readAllStandardOutput().trimmed().toStdString(),
              "Tallowmere " TALLOWMERE_VERSION_TEXT);
}

}  // namespace
}  // namespace tallowmere
