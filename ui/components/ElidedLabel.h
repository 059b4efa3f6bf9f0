#pragma once

#include <QLabel>

namespace tallowmere {

// One line of text that is shortened in the middle ("/Volumes/Dr…/Photos/2024") when it does
// not fit, so that both the start and the end of a path stay readable. The whole text is
// the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString m_fullText;
};

}  // namespace tallowmere
