#pragma once

#include <QWidget>

namespace tallowmere {

// A one-pixel horizontal line in the theme's separator colour.
class Divider : public QWidget {
    Q_OBJECT
public:
    explicit Divider(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tallowmere
