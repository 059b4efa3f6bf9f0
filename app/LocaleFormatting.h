#pragma once

#include <QLocale>

#include "core/platform/Formatting.h"

namespace tallowmere {

// Counts, byte sizes and dates in a Qt locale (the user's, in the application).
// Immutable after construction, so safe to use from any thread.
class LocaleFormatting final : public Formatting {
public:
    explicit LocaleFormatting(QLocale locale = QLocale::system()) : m_locale(std::move(locale)) {}

    std::string count(std::int64_t value) const override;
    std::string byteCount(std::int64_t bytes) const override;
    std::string dateTime(Date date) const override;

private:
    QLocale m_locale;
};

}  // namespace tallowmere
