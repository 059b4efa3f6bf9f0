#pragma once

#include <QPushButton>
#include <QSize>
#include <functional>
#include <string>

class QLabel;

namespace tallowmere {

class AppModel;
class Formatting;
class RedrawCoalescer;
class SymbolView;

// A title in secondary text at the left and a value at the right, on one line. A long
// value first shrinks its type down to 80 % and only then is cut short.
class PopoverRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double kMinimumScale = 0.8;

    PopoverRow(const QString& title, QWidget* parent = nullptr);

    void setValue(const QString& value);
    QString title() const;
    QString value() const { return m_value; }
    // The text shown, which may be shortened, and the scale of its type.
    QString shownValue() const;
    double valueScale() const { return m_scale; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QLabel* m_title;
    QLabel* m_valueLabel;
    QString m_value;
    QFont m_valueFont;
    double m_scale = 1.0;
};

// A full-width borderless action with a symbol, as the popover's actions are drawn.
class PopoverActionButton : public QPushButton {
    Q_OBJECT
public:
    PopoverActionButton(const QString& title, std::string_view systemImage,
                        QWidget* parent = nullptr);

    void setContent(const QString& title, std::string_view systemImage);
    const std::string& symbolName() const { return m_symbol; }

private:
    std::string m_symbol;
};

// The status item's popover content: the health, six key facts, the quick actions and the
// way to the dashboard, settings and quitting. Redraws on every change of the model.
// `model` and `formatting` must outlive the view.
class MenuBarPopoverView : public QWidget {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> openDashboard;
        std::function<void()> showSettings;
        std::function<void()> quit;
    };

    MenuBarPopoverView(AppModel& model, const Formatting& formatting, QSize contentSize,
                       Actions actions, QWidget* parent = nullptr);

private:
    void redraw();

    AppModel& m_model;
    const Formatting& m_formatting;
    Actions m_actions;
    RedrawCoalescer* m_redraw;
    QLabel* m_stateLabel;
    SymbolView* m_healthSymbol;
    PopoverRow* m_score;
    PopoverRow* m_lastScan;
    PopoverRow* m_lastBackup;
    PopoverRow* m_lastVerification;
    PopoverRow* m_verification;
    PopoverRow* m_destination;
    PopoverActionButton* m_scan;
};

}  // namespace tallowmere
