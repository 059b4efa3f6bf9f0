#include "ui/shell/ApplicationShell.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHideEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/screens/SettingsView.h"
#include "ui/shell/MenuBarPopoverView.h"
#include "ui/shell/QuickActions.h"
#include "ui/shell/TrayController.h"

namespace tallowmere {
namespace {

QRect availableGeometryAt(const QPoint& point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

// The popover's top-left corner: centred on the anchor, below it when the anchor is in the
// upper half of its screen and above it otherwise, and kept on the screen.
QPoint popoverPosition(const QRect& anchor, const QSize& size) {
    const QRect screen = availableGeometryAt(anchor.center());
    int x = anchor.center().x() - size.width() / 2;
    int y = anchor.center().y() < screen.center().y() ? anchor.bottom() + 6
                                                      : anchor.top() - 6 - size.height();
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() - size.width() + 1));
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() - size.height() + 1));
    return {x, y};
}

}  // namespace

PopoverWindow::PopoverWindow(MenuBarPopoverView* content, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_content(content) {
    setObjectName(QStringLiteral("popoverWindow"));
    setWindowTitle(QStringLiteral("Tallowmere Status"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setFixedSize(content->size());
}

qint64 PopoverWindow::msSinceHidden() const {
    return m_hidden.isValid() ? m_hidden.elapsed() : std::numeric_limits<qint64>::max();
}

void PopoverWindow::hideEvent(QHideEvent* event) {
    m_hidden.start();
    QWidget::hideEvent(event);
}

ApplicationShell::ApplicationShell(AppModel& model, const Formatting& formatting,
                                   WindowFactory makeMainWindow, Options options, QObject* parent)
    : QObject(parent),
      m_model(model),
      m_formatting(formatting),
      m_makeMainWindow(std::move(makeMainWindow)),
      m_options(options) {
    setObjectName(QStringLiteral("applicationShell"));
    MenuBarPopoverView::Actions actions;
    actions.openDashboard = [this] {
        m_popover->hide();
        showDashboard();
    };
    actions.showSettings = [this] {
        m_popover->hide();
        showSettings();
    };
    actions.quit = [this] {
        quit();
    };
    m_popover = std::make_unique<PopoverWindow>(
        new MenuBarPopoverView(m_model, m_formatting, kPopoverSize, std::move(actions)));
}

ApplicationShell::~ApplicationShell() = default;

void ApplicationShell::start() {
    // With a tray icon the application outlives its windows; without one, closing the
    // window is the only way the user has to end it.
    QApplication::setQuitOnLastWindowClosed(!m_options.systemTray);
    if (m_options.systemTray) {
        m_tray = std::make_unique<TrayController>(m_model);
        connect(m_tray.get(), &TrayController::activated, this, &ApplicationShell::togglePopover);
        m_tray->show();
    }
    // Brought back to the front by the desktop with nothing on screen: show the dashboard.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && !anyWindowVisible())
                    showDashboard();
            });
    showDashboard();
}

void ApplicationShell::showDashboard() {
    if (!m_mainWindow)
        createMainWindow();
    QWidget* window = m_mainWindow.get();
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

void ApplicationShell::createMainWindow() {
    QWidget* made = m_makeMainWindow();
    auto* mainWindow = qobject_cast<QMainWindow*>(made);
    if (!mainWindow) {
        // A window's content: give it a window, so that it has a menu bar.
        mainWindow = new QMainWindow;
        mainWindow->setCentralWidget(made);
    }
    m_mainWindow.reset(mainWindow);
    mainWindow->setObjectName(QStringLiteral("dashboardWindow"));
    mainWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    mainWindow->setWindowTitle(QStringLiteral("Tallowmere"));
    mainWindow->setMinimumSize(kMinimumWindowSize);
    mainWindow->resize(kWindowSize);
    const QRect screen = availableGeometryAt(QCursor::pos());
    QRect frame(QPoint(), kWindowSize);
    frame.moveCenter(screen.center());
    mainWindow->move(frame.topLeft());
    if (!m_options.systemTray)
        installWindowMenu();
    if (m_options.presentOnboarding)
        new OnboardingPresenter(m_model, mainWindow);
}

void ApplicationShell::installWindowMenu() {
    auto* mainWindow = static_cast<QMainWindow*>(m_mainWindow.get());
    m_windowMenu = mainWindow->menuBar()->addMenu(QStringLiteral("Tallowmere"));
    m_windowMenu->setObjectName(QStringLiteral("tallowmereMenu"));
    QAction* scan = m_windowMenu->addAction(QStringLiteral("Run scan"));
    scan->setObjectName(QStringLiteral("menuScan"));
    connect(scan, &QAction::triggered, this, [this] { QuickActions::runOrCancelScan(m_model); });
    const auto showScanState = [this, scan] {
        scan->setText(m_model.isScanning() ? QStringLiteral("Cancel scan")
                                           : QStringLiteral("Run scan"));
    };
    connect(&m_model, &AppModel::isScanningChanged, scan, showScanState);
    showScanState();
    QAction* backup = m_windowMenu->addAction(QStringLiteral("Start backup"));
    backup->setObjectName(QStringLiteral("menuStartBackup"));
    connect(backup, &QAction::triggered, this, [this] { QuickActions::startBackup(m_model); });
    QAction* verify = m_windowMenu->addAction(QStringLiteral("Verify backup"));
    verify->setObjectName(QStringLiteral("menuVerify"));
    connect(verify, &QAction::triggered, this, [this] { QuickActions::verifyBackup(m_model); });
    m_windowMenu->addSeparator();
    QAction* status = m_windowMenu->addAction(QStringLiteral("Status"));
    status->setObjectName(QStringLiteral("menuStatus"));
    connect(status, &QAction::triggered, this, &ApplicationShell::togglePopover);
    QAction* settings = m_windowMenu->addAction(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("menuSettings"));
    settings->setShortcut(QKeySequence::Preferences);
    connect(settings, &QAction::triggered, this, &ApplicationShell::showSettings);
    m_windowMenu->addSeparator();
    QAction* quitAction = m_windowMenu->addAction(QStringLiteral("Quit"));
    quitAction->setObjectName(QStringLiteral("menuQuit"));
    quitAction->setShortcut(QKeySequence::Quit);
    connect(quitAction, &QAction::triggered, this, &ApplicationShell::quit);
}

void ApplicationShell::showSettings() {
    if (!m_settingsWindow) {
        m_settingsWindow = std::make_unique<QWidget>();
        m_settingsWindow->setObjectName(QStringLiteral("settingsWindow"));
        m_settingsWindow->setWindowTitle(QStringLiteral("Tallowmere Settings"));
        m_settingsWindow->setFixedSize(kSettingsSize);
        auto* layout = new QVBoxLayout(m_settingsWindow.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new SettingsView(m_model));
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void ApplicationShell::togglePopover() {
    if (m_popover->isVisible()) {
        m_popover->hide();
        return;
    }
    if (m_popover->msSinceHidden() < kReopenGuardMilliseconds)
        return;
    placePopover();
    m_popover->show();
    m_popover->raise();
    m_popover->activateWindow();
}

void ApplicationShell::placePopover() {
    QRect anchor;
    if (m_tray && !m_tray->geometry().isEmpty())
        anchor = m_tray->geometry();
    else if (!m_tray && m_mainWindow && m_mainWindow->isVisible())
        anchor = QRect(m_mainWindow->geometry().topRight() - QPoint(kPopoverSize.width() / 2, 0),
                       QSize(1, 1));
    else
        anchor = QRect(QCursor::pos(), QSize(1, 1));
    m_popover->move(popoverPosition(anchor, m_popover->size()));
}

void ApplicationShell::quit() {
    m_popover->hide();
    QCoreApplication::quit();
}

bool ApplicationShell::anyWindowVisible() const {
    // The popover counts: opening it from the tray activates the application, and that
    // must not bring the dashboard up behind it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isWindow())
            return true;
    }
    return false;
}

}  // namespace tallowmere
