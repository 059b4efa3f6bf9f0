#pragma once

#include <QFrame>

class QVBoxLayout;

namespace tallowmere {

// Content on a rounded, bordered card with the given inner padding. Add the content to
// contentLayout().
class TMPanel : public QFrame {
    Q_OBJECT
public:
    explicit TMPanel(int padding = 20, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return m_layout; }
    void addWidget(QWidget* widget);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_layout;
};

// The plain card of the detail screens.
class Panel : public TMPanel {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);
};

}  // namespace tallowmere
