#pragma once

#include <QScrollArea>

class QLayout;
class QVBoxLayout;

namespace tallowmere {

// A screen's content in a vertical scroll area on the theme background: padded, at most
// 1180 pixels wide and centred when the window is wider. Items added stack from the top.
class TMScreen : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int kMaxContentWidth = 1180;
    static constexpr int kPadding = 28;

    explicit TMScreen(QWidget* parent = nullptr);

    void addWidget(QWidget* widget, int stretch = 0);
    void addLayout(QLayout* layout);

    QWidget* contentColumn() const { return m_column; }

private:
    QWidget* m_column;
    QVBoxLayout* m_layout;
};

}  // namespace tallowmere
