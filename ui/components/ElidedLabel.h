#pragma once

#include <QLabel>

namespace tallowmere {

// One line of text that is shortened with an ellipsis where it does not fit, at the place
// given (a path loses its middle, so that both the top folder and the file name stay in
// view). text() keeps the whole text; the tooltip shows it too.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    // The text as drawn at the current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};

}  // namespace tallowmere
