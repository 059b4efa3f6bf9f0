#include "ui/shell/TrayController.h"

#include <QSystemTrayIcon>

#include "app/AppModel.h"
#include "ui/components/Text.h"
#include "ui/symbols/Symbols.h"

namespace tallowmere {

TrayPresentation trayPresentation(MenuBarHealth health) {
    ThemeColor tint = ThemeColor::gray;
    switch (health) {
        case MenuBarHealth::protected_:
            tint = ThemeColor::success;
            break;
        case MenuBarHealth::attention:
            tint = ThemeColor::yellow;
            break;
        case MenuBarHealth::unsafe:
            tint = ThemeColor::danger;
            break;
        case MenuBarHealth::paused:
            tint = ThemeColor::gray;
            break;
    }
    return {systemSymbolName(health), tint,
            QStringLiteral("Tallowmere: ") + toQString(displayName(health))};
}

TrayController::TrayController(AppModel& model, QObject* parent)
    : QObject(parent), m_model(model), m_trayIcon(std::make_unique<QSystemTrayIcon>()) {
    setObjectName(QStringLiteral("trayController"));
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Both buttons open the popover; a double click is two clicks already.
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                    Q_EMIT activated();
            });
    // Queued: the icon follows on a later turn of the loop, never inside the model's update.
    connect(
        &m_model, &AppModel::dashboardSnapshotChanged, this,
        [this] { updateStatus(m_model.dashboardSnapshot().menuBarHealth); }, Qt::QueuedConnection);
    updateStatus(m_model.dashboardSnapshot().menuBarHealth);
}

TrayController::~TrayController() = default;

void TrayController::show() {
    m_trayIcon->show();
}

QIcon TrayController::icon() const {
    return m_trayIcon->icon();
}

QString TrayController::toolTip() const {
    return m_trayIcon->toolTip();
}

QRect TrayController::geometry() const {
    return m_trayIcon->geometry();
}

void TrayController::updateStatus(MenuBarHealth health) {
    m_health = health;
    const TrayPresentation presentation = trayPresentation(health);
    m_trayIcon->setIcon(Symbols::icon(presentation.symbolName, TMTheme::color(presentation.tint)));
    m_trayIcon->setToolTip(presentation.toolTip);
}

}  // namespace tallowmere
