#include "app/DesktopServices.h"

#include <QProcess>

namespace tallowmere {

bool XdgDesktopServices::openUrl(const QUrl& url) {
    if (!url.isValid())
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"),
                                   {QString::fromUtf8(url.toEncoded())});
}

}  // namespace tallowmere
