#pragma once

#include <QWidget>
#include <string_view>

#include "core/safety/SafetyVocabulary.h"
#include "ui/components/TMPanel.h"

class QLabel;

namespace tallowmere {

class SymbolView;

// A tile for one area: its symbol and title in the state's colour, the value large and
// the detail in secondary text.
class TMStatusModule : public TMPanel {
    Q_OBJECT
public:
    TMStatusModule(const QString& title, const QString& value, const QString& detail,
                   std::string_view systemImage, SafetyState state, QWidget* parent = nullptr);

    void setContent(const QString& title, const QString& value, const QString& detail,
                    std::string_view systemImage, SafetyState state);

private:
    SymbolView* m_symbol;
    QLabel* m_title;
    QLabel* m_value;
    QLabel* m_detail;
};

// A labelled symbol and title, the value large and the detail below it.
class MetricView : public TMPanel {
    Q_OBJECT
public:
    MetricView(const QString& title, const QString& value, const QString& detail,
               std::string_view systemImage, QWidget* parent = nullptr);

    void setValue(const QString& value, const QString& detail);

private:
    QLabel* m_value;
    QLabel* m_detail;
};

}  // namespace tallowmere
