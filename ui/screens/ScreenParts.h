#pragma once

#include <QString>

#include "ui/theme/TMTheme.h"

class QLabel;
class QLayout;
class QWidget;

// Small building blocks the screens share.
namespace tallowmere::ScreenParts {

// A plain-text label with the object name a test can find it by.
QLabel* label(const QString& text, const char* objectName, TextStyle style, ThemeColor color,
              bool wordWrap = true);

// A panel's heading.
QLabel* heading(const QString& text, const char* objectName);

// Takes every item out of the layout; widgets are hidden at once and deleted on the next
// turn of the event loop, since one of them may be the button whose click led here.
void clear(QLayout* layout);

}  // namespace tallowmere::ScreenParts
