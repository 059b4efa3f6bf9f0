#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;

namespace tallowmere {

class AppModel;
class Formatting;
class MenuBarPopoverView;
class TrayController;

// The status item's popover as a window of its own: frameless, closing when the user
// clicks elsewhere.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    PopoverWindow(MenuBarPopoverView* content, QWidget* parent = nullptr);

    MenuBarPopoverView* content() const { return m_content; }
    // Milliseconds since the popover last closed; a large value when it never did.
    qint64 msSinceHidden() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    MenuBarPopoverView* m_content;
    QElapsedTimer m_hidden;
};

// The running application around the model: the main ("dashboard") window, the settings
// window, the tray icon with its popover, and what happens when windows close or the
// application is asked to come back.
//
// With a system tray, closing every window leaves the application and its tray icon
// running; the tray icon opens the popover, whose "Open dashboard" brings the window back.
// Without one, closing the main window quits, and the popover's actions live in a
// "Tallowmere" menu of the main window instead.
//
// The main window is made by the factory on the first showDashboard() and kept, with its
// state, until the shell goes; closing it only hides it. Main thread only; `model` and
// `formatting` must outlive the shell.
class ApplicationShell : public QObject {
    Q_OBJECT
public:
    static constexpr QSize kWindowSize{1120, 740};
    static constexpr QSize kMinimumWindowSize{940, 620};
    static constexpr QSize kPopoverSize{340, 430};
    static constexpr QSize kSettingsSize{560, 440};
    // A click on the tray icon that closed the popover (by clicking outside it) must not
    // open it again at once.
    static constexpr qint64 kReopenGuardMilliseconds = 300;

    using WindowFactory = std::function<QWidget*()>;

    struct Options {
        // Whether the desktop shows tray icons.
        bool systemTray = false;
        // Whether the shell presents the first-run onboarding over the main window.
        bool presentOnboarding = true;
    };

    ApplicationShell(AppModel& model, const Formatting& formatting, WindowFactory makeMainWindow,
                     Options options, QObject* parent = nullptr);
    ~ApplicationShell() override;

    // Sets what closing the last window does, puts the icon into the tray and shows the
    // dashboard.
    void start();

    // Makes the dashboard visible, raised and active, creating it the first time.
    void showDashboard();
    void showSettings();
    void togglePopover();
    void quit();

    QWidget* mainWindow() const { return m_mainWindow.get(); }
    QWidget* settingsWindow() const { return m_settingsWindow.get(); }
    TrayController* tray() const { return m_tray.get(); }
    PopoverWindow* popover() const { return m_popover.get(); }
    QMenu* windowMenu() const { return m_windowMenu; }

private:
    void createMainWindow();
    void installWindowMenu();
    void placePopover();
    bool anyWindowVisible() const;

    AppModel& m_model;
    const Formatting& m_formatting;
    WindowFactory m_makeMainWindow;
    Options m_options;
    std::unique_ptr<QWidget> m_mainWindow;
    std::unique_ptr<QWidget> m_settingsWindow;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<PopoverWindow> m_popover;
    QMenu* m_windowMenu = nullptr;
};

}  // namespace tallowmere
