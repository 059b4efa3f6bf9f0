#include "app/LocaleFormatting.h"

#include <QDateTime>

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
    return (m_locale.toString(when.date(), QLocale::ShortFormat) + ' ' +
            m_locale.toString(when.time(), QLocale::ShortFormat))
        .toStdString();
}

}  // namespace tallowmere
