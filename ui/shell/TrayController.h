#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>
#include <string_view>

#include "core/safety/SafetyVocabulary.h"
#include "ui/theme/TMTheme.h"

class QSystemTrayIcon;

namespace tallowmere {

class AppModel;

// How the status icon shows a health: the symbol, its tint and the tooltip
// ("Tallowmere: Unsafe").
struct TrayPresentation {
    std::string_view symbolName;
    ThemeColor tint;
    QString toolTip;

    bool operator==(const TrayPresentation&) const = default;
};

TrayPresentation trayPresentation(MenuBarHealth health);

// The status icon in the desktop's system tray. Its symbol, tint and tooltip follow the
// model's dashboard health, delivered on a later turn of the event loop than the change
// itself. A left or a right click asks for the popover (activated()); there is no menu.
// Main thread only; `model` must outlive the controller.
class TrayController : public QObject {
    Q_OBJECT
public:
    explicit TrayController(AppModel& model, QObject* parent = nullptr);
    ~TrayController() override;

    // Puts the icon into the tray. Does nothing useful without a system tray.
    void show();

    MenuBarHealth health() const { return m_health; }
    QIcon icon() const;
    QString toolTip() const;
    QSystemTrayIcon* trayIcon() const { return m_trayIcon.get(); }
    // Where the icon sits on screen; empty when the tray does not say.
    QRect geometry() const;

Q_SIGNALS:
    void activated();

private:
    void updateStatus(MenuBarHealth health);

    AppModel& m_model;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    MenuBarHealth m_health = MenuBarHealth::paused;
};

}  // namespace tallowmere
