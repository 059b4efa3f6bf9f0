#pragma once

#include <QWidget>

class QLabel;

namespace tallowmere {

// A label column 180 pixels wide with the value beside it.
class DetailRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLabelWidth = 180;

    DetailRow(const QString& title, const QString& value, QWidget* parent = nullptr);

    void setValue(const QString& value);

private:
    QLabel* m_value;
};

}  // namespace tallowmere
