#include "app/ExportFileNames.h"

#include <cmath>

#include <QDateTime>

namespace tallowmere::ExportFileNames {

std::string timestamp(Date date, const QTimeZone& zone) {
    const auto milliseconds = static_cast<qint64>(std::floor(date.secondsSince1970() * 1000.0));
    return QDateTime::fromMSecsSinceEpoch(milliseconds, zone)
        .toString(QStringLiteral("yyyyMMdd-HHmmss"))
        .toStdString();
}

std::string reportCard(const std::string& kindRawValue, Date date, const QTimeZone& zone) {
    return kindRawValue + "-report-" + timestamp(date, zone) + ".json";
}

std::string diagnostics(Date date, const QTimeZone& zone) {
    return "Tallowmere-Diagnostics-" + timestamp(date, zone) + ".json";
}

}  // namespace tallowmere::ExportFileNames
