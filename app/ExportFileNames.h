#pragma once

#include <string>

#include <QTimeZone>

#include "core/platform/Date.h"

// The names proposed for exported files.
namespace tallowmere::ExportFileNames {

// "yyyyMMdd-HHmmss" in the given time zone (the user's own by default).
std::string timestamp(Date date, const QTimeZone& zone = QTimeZone::systemTimeZone());

// "<kind raw value>-report-<timestamp>.json".
std::string reportCard(const std::string& kindRawValue, Date date,
                       const QTimeZone& zone = QTimeZone::systemTimeZone());

// "Tallowmere-Diagnostics-<timestamp>.json".
std::string diagnostics(Date date, const QTimeZone& zone = QTimeZone::systemTimeZone());

}  // namespace tallowmere::ExportFileNames
