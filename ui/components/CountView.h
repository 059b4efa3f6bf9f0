#pragma once

#include <QWidget>

class QLabel;

namespace tallowmere {

// A figure in headline type above its title in small secondary text, as the progress and
// verification panels show their counts in a row.
class CountView : public QWidget {
    Q_OBJECT
public:
    CountView(const QString& title, const QString& value, QWidget* parent = nullptr);

    void setValue(const QString& value);
    QString title() const;
    QString value() const;

private:
    QLabel* m_value;
    QLabel* m_title;
};

}  // namespace tallowmere
