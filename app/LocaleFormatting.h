#pragma once

#include <QLocale>

#include "core/platform/Formatting.h"

namespace tallowmere {

// Counts, byte sizes and dates in a Qt locale (the user's, in the application).
// Immutable after construction, so safe to use from any thread.
class LocaleFormatting final : public Formatting {
public:
    explicit LocaleFormatting(QLocale locale = QLocale::system())
        : m_locale(std::move(locale)), m_mediumDateFormat(mediumDateFormat(m_locale)) {}

    std::string count(std::int64_t value) const override;
    std::string byteCount(std::int64_t bytes) const override;
    std::string dateTime(Date date) const override;

private:
    // Qt offers short and long dates; dates are shown in the medium length between them.
    static QString mediumDateFormat(const QLocale& locale);

    QLocale m_locale;
    QString m_mediumDateFormat;
};

}  // namespace tallowmere
