#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>

#include "ui/theme/TMTheme.h"

class QHBoxLayout;
class QLabel;
class QLayout;
class QProgressBar;
class QWidget;

namespace tallowmere {

// Small building blocks the screens share.

// A plain-text label in a text style and colour role, named for tests.
QLabel* makeLabel(const QString& text, const char* objectName, TextStyle style, ThemeColor color,
                  bool wrap = true);
// The same label in semibold weight.
QLabel* makeSemiboldLabel(const QString& text, const char* objectName, TextStyle style,
                          ThemeColor color, bool wrap = true);
// Turns an existing label semibold (after restyling, which resets the font).
void setSemibold(QLabel* label);

// A panel heading: the title (and an optional line below it) at the left, an optional
// view at the right, aligned to the top.
QHBoxLayout* panelHeading(QLabel* title, QLabel* subtitle, QWidget* trailing);

// Shows `done` of `total` on the bar; a total below 1 makes it indeterminate. Counts
// beyond the bar's int range are scaled down.
void setProgress(QProgressBar* bar, std::int64_t done, std::int64_t total);

// Buttons side by side from the left, continuing on a second line in a narrow window.
QLayout* buttonRow(std::initializer_list<QWidget*> buttons);

}  // namespace tallowmere
