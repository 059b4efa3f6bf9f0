#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class QHBoxLayout;
class QLabel;

namespace tallowmere {

// A screen's heading: an optional small caption (the eyebrow) above a large title, a
// secondary subtitle below it, and an optional view on the right (a button).
class TMHeader : public QWidget {
    Q_OBJECT
public:
    TMHeader(const std::optional<QString>& eyebrow, const QString& title, const QString& subtitle,
             QWidget* trailing = nullptr, QWidget* parent = nullptr);

    // Replaces the view on the right; the old one is deleted. Null removes it.
    void setTrailing(QWidget* trailing);

private:
    QHBoxLayout* m_row;
    QWidget* m_trailing = nullptr;
};

// The title and subtitle at the top of a detail screen.
class ScreenHeader : public QWidget {
    Q_OBJECT
public:
    ScreenHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);
};

}  // namespace tallowmere
