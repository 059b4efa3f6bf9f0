#include "app/AppEnvironment.h"

#include <QSysInfo>

#include "app/LocaleFormatting.h"
#include "app/WebsiteConfiguration.h"
#include "platform/linux/FolderPhotoLibrary.h"
#include "platform/linux/LinuxBookmarks.h"
#include "platform/linux/LinuxFileSystem.h"

namespace tallowmere {

std::string linuxOperatingSystemVersion() {
    const QString name = QSysInfo::prettyProductName();
    const QString kernel = QSysInfo::kernelVersion();
    if (name.isEmpty() || name == QStringLiteral("Unknown"))
        return kernel.toStdString();
    return (name + QStringLiteral(" (") + kernel + QStringLiteral(")")).toStdString();
}

AppEnvironment AppEnvironment::production() {
    AppEnvironment environment;
    environment.fileSystem = std::make_shared<LinuxFileSystem>();
    environment.bookmarks = std::make_shared<LinuxBookmarks>();
    environment.photoLibrary = std::make_shared<FolderPhotoLibrary>(*environment.fileSystem);
    environment.clock = std::make_shared<SystemClock>();
    environment.formatting = std::make_shared<LocaleFormatting>();
    environment.desktop = std::make_shared<XdgDesktopServices>();
    environment.environment = processEnvironment();
    environment.bundle = compiledBundleInformation();
    environment.operatingSystemVersion = linuxOperatingSystemVersion();
    return environment;
}

}  // namespace tallowmere
