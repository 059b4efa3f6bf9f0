#include "app/LocaleFormatting.h"

#include <QDateTime>
#include <QRegularExpression>

namespace tallowmere {

std::string LocaleFormatting::count(std::int64_t value) const {
    return m_locale.toString(static_cast<qlonglong>(value)).toStdString();
}

std::string LocaleFormatting::byteCount(std::int64_t bytes) const {
    // File sizes are counted in powers of 1000, as file managers show them.
    return m_locale.formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat).toStdString();
}

std::string LocaleFormatting::dateTime(Date date) const {
    const auto when =
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(date.secondsSince1970() * 1000.0));
    return (m_locale.toString(when.date(), m_mediumDateFormat) + ' ' +
            m_locale.toString(when.time(), QLocale::ShortFormat))
        .toStdString();
}

QString LocaleFormatting::mediumDateFormat(const QLocale& locale) {
    // The locale's long date without the weekday and with the month abbreviated:
    // "dddd, MMMM d, yyyy" becomes "MMM d, yyyy", "dddd, d. MMMM yyyy" becomes "d. MMM yyyy".
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekdayFirst(QStringLiteral("^dddd[,.]?\\s*"));
    static const QRegularExpression weekdayElsewhere(QStringLiteral("[,\\s]*dddd"));
    format.remove(weekdayFirst);
    format.remove(weekdayElsewhere);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return format.trimmed();
}

}  // namespace tallowmere
