#include "ui/shell/MenuBarPopoverView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "core/platform/Formatting.h"
#include "ui/components/Divider.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/components/Text.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/shell/QuickActions.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/SecondCopyPresentation.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QString dateOrNever(const std::optional<Date>& date, const Formatting& formatting) {
    return date ? toQString(formatting.dateTime(*date)) : QStringLiteral("Never");
}

}  // namespace

PopoverRow::PopoverRow(const QString& title, QWidget* parent)
    : QWidget(parent), m_title(new QLabel(title)), m_valueLabel(new QLabel) {
    setObjectName(QStringLiteral("popoverRow"));
    m_title->setObjectName(QStringLiteral("popoverRowTitle"));
    m_valueLabel->setObjectName(QStringLiteral("popoverRowValue"));
    TMTheme::styleLabel(m_title, TextStyle::body, ThemeColor::secondaryLabel);
    TMTheme::styleLabel(m_valueLabel, TextStyle::body, ThemeColor::label);
    m_valueFont = m_valueLabel->font();
    m_title->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_valueLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(m_title);
    row->addWidget(m_valueLabel, 1);
}

void PopoverRow::setValue(const QString& value) {
    m_value = value;
    m_valueLabel->setToolTip(value);
    fit();
}

QString PopoverRow::title() const {
    return m_title->text();
}

QString PopoverRow::shownValue() const {
    return m_valueLabel->text();
}

void PopoverRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}

void PopoverRow::fit() {
    const int available = m_valueLabel->width();
    QFont font = m_valueFont;
    double scale = 1.0;
    // Shrink in small steps down to the minimum scale; cut only what still does not fit.
    for (; scale > kMinimumScale + 1e-9; scale -= 0.05) {
        font.setPointSizeF(m_valueFont.pointSizeF() * scale);
        if (QFontMetrics(font).horizontalAdvance(m_value) <= available)
            break;
    }
    scale = std::max(scale, kMinimumScale);
    font.setPointSizeF(m_valueFont.pointSizeF() * scale);
    m_scale = scale;
    m_valueLabel->setFont(font);
    m_valueLabel->setText(QFontMetrics(font).elidedText(m_value, Qt::ElideRight, available));
}

PopoverActionButton::PopoverActionButton(const QString& title, std::string_view systemImage,
                                         QWidget* parent)
    : QPushButton(parent) {
    setObjectName(QStringLiteral("popoverAction"));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setIconSize(QSize(18, 16));
    const QPalette& pal = palette();
    setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; border: none; border-radius: 6px;"
                       " padding: 6px 8px; color: %1; background: transparent; }"
                       "QPushButton:hover { background-color: %2; }"
                       "QPushButton:pressed { background-color: %3; }")
            .arg(TMTheme::css(TMTheme::color(ThemeColor::label, pal)),
                 TMTheme::css(TMTheme::withOpacity(TMTheme::color(ThemeColor::trust, pal), 0.10)),
                 TMTheme::css(TMTheme::withOpacity(TMTheme::color(ThemeColor::trust, pal), 0.18))));
    setContent(title, systemImage);
}

void PopoverActionButton::setContent(const QString& title, std::string_view systemImage) {
    m_symbol = std::string(systemImage);
    setText(title);
    setIcon(Symbols::icon(m_symbol, TMTheme::color(ThemeColor::trust, palette())));
}

MenuBarPopoverView::MenuBarPopoverView(AppModel& model, QSize contentSize, Actions actions,
                                       QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_actions(std::move(actions)),
      m_redraw(new RedrawScheduler([this] { redraw(); }, this)),
      m_stateLabel(new QLabel),
      m_healthSymbol(new SymbolView({}, {}, 30)),
      m_score(new PopoverRow(QStringLiteral("Safety score"))),
      m_lastScan(new PopoverRow(QStringLiteral("Last scan"))),
      m_lastBackup(new PopoverRow(QStringLiteral("Last backup"))),
      m_lastVerification(new PopoverRow(QStringLiteral("Last verification"))),
      m_verification(new PopoverRow(QStringLiteral("Verification"))),
      m_destination(new PopoverRow(QStringLiteral("Destination"))),
      m_scan(new PopoverActionButton(QStringLiteral("Run scan"), "arrow.clockwise")) {
    setObjectName(QStringLiteral("menuBarPopover"));
    setFixedSize(contentSize);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 12);
    column->setSpacing(10);

    auto* header = new QHBoxLayout;
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* name = new QLabel(QStringLiteral("Tallowmere"));
    name->setObjectName(QStringLiteral("popoverTitle"));
    TMTheme::styleLabel(name, TextStyle::headline, ThemeColor::label);
    m_stateLabel->setObjectName(QStringLiteral("popoverState"));
    TMTheme::styleLabel(m_stateLabel, TextStyle::caption, ThemeColor::secondaryLabel);
    titles->addWidget(name);
    titles->addWidget(m_stateLabel);
    header->addLayout(titles, 1);
    m_healthSymbol->setObjectName(QStringLiteral("popoverHealthSymbol"));
    header->addWidget(m_healthSymbol, 0, Qt::AlignVCenter);
    column->addLayout(header);
    column->addWidget(new Divider);

    auto* rows = new QVBoxLayout;
    rows->setSpacing(7);
    for (PopoverRow* row :
         {m_score, m_lastScan, m_lastBackup, m_lastVerification, m_verification, m_destination}) {
        rows->addWidget(row);
    }
    m_score->setObjectName(QStringLiteral("rowSafetyScore"));
    m_lastScan->setObjectName(QStringLiteral("rowLastScan"));
    m_lastBackup->setObjectName(QStringLiteral("rowLastBackup"));
    m_lastVerification->setObjectName(QStringLiteral("rowLastVerification"));
    m_verification->setObjectName(QStringLiteral("rowVerification"));
    m_destination->setObjectName(QStringLiteral("rowDestination"));
    column->addLayout(rows);
    column->addWidget(new Divider);

    auto* startBackup = new PopoverActionButton(QStringLiteral("Start backup"), "play.fill");
    auto* verify = new PopoverActionButton(QStringLiteral("Verify backup"), "checkmark.circle");
    auto* dashboard = new PopoverActionButton(QStringLiteral("Open dashboard"), "macwindow");
    auto* report = new PopoverActionButton(QStringLiteral("View latest report"), "doc.text");
    m_scan->setObjectName(QStringLiteral("popoverScan"));
    startBackup->setObjectName(QStringLiteral("popoverStartBackup"));
    verify->setObjectName(QStringLiteral("popoverVerify"));
    dashboard->setObjectName(QStringLiteral("popoverOpenDashboard"));
    report->setObjectName(QStringLiteral("popoverLatestReport"));
    connect(m_scan, &QPushButton::clicked, this,
            [this] { QuickActions::runOrCancelScan(m_model); });
    // Never disabled: the workflows decide whether anything happens, and say so.
    connect(startBackup, &QPushButton::clicked, this,
            [this] { QuickActions::startBackup(m_model); });
    connect(verify, &QPushButton::clicked, this, [this] { QuickActions::verifyBackup(m_model); });
    const auto openDashboard = [this] {
        if (m_actions.openDashboard)
            m_actions.openDashboard();
    };
    connect(dashboard, &QPushButton::clicked, this, openDashboard);
    connect(report, &QPushButton::clicked, this, openDashboard);
    auto* actionColumn = new QVBoxLayout;
    actionColumn->setSpacing(0);
    for (QPushButton* button :
         {static_cast<QPushButton*>(m_scan), static_cast<QPushButton*>(startBackup),
          static_cast<QPushButton*>(verify), static_cast<QPushButton*>(dashboard),
          static_cast<QPushButton*>(report)}) {
        actionColumn->addWidget(button);
    }
    column->addLayout(actionColumn);
    column->addStretch(1);
    column->addWidget(new Divider);

    auto* footer = new QHBoxLayout;
    auto* settings = new TMButton(QStringLiteral("Settings"), {}, TMButton::Kind::borderless);
    auto* quit = new TMButton(QStringLiteral("Quit"), {}, TMButton::Kind::borderless);
    settings->setObjectName(QStringLiteral("popoverSettings"));
    quit->setObjectName(QStringLiteral("popoverQuit"));
    connect(settings, &QPushButton::clicked, this, [this] {
        if (m_actions.showSettings)
            m_actions.showSettings();
    });
    connect(quit, &QPushButton::clicked, this, [this] {
        if (m_actions.quit)
            m_actions.quit();
    });
    footer->addWidget(settings);
    footer->addStretch(1);
    footer->addWidget(quit);
    column->addLayout(footer);

    m_redraw->watch(m_model,
                    {&AppModel::dashboardSnapshotChanged, &AppModel::verificationSnapshotChanged,
                     &AppModel::isScanningChanged});
    redraw();
}

void MenuBarPopoverView::redraw() {
    const DashboardSnapshot& snapshot = m_model.dashboardSnapshot();
    m_stateLabel->setText(toQString(displayName(snapshot.overallState)));
    m_healthSymbol->setSymbol(systemSymbolName(snapshot.menuBarHealth),
                              stateColor(snapshot.overallState, palette()));
    m_healthSymbol->setAccessibleName(toQString(accessibilityDescription(snapshot.menuBarHealth)));

    m_score->setValue(toQString(m_model.formatting().count(snapshot.safetyScore)) +
                      QLatin1Char('%'));
    m_lastScan->setValue(dateOrNever(snapshot.lastScanAt, m_model.formatting()));
    m_lastBackup->setValue(dateOrNever(snapshot.lastBackupAt, m_model.formatting()));
    m_lastVerification->setValue(dateOrNever(snapshot.lastVerificationAt, m_model.formatting()));
    m_verification->setValue(
        toQString(verificationStatusLabel(m_model.verificationSnapshot().status)));
    m_destination->setValue(snapshot.connectedDestinationName
                                ? toQString(*snapshot.connectedDestinationName)
                                : QStringLiteral("Not selected"));

    if (m_model.isScanning())
        m_scan->setContent(QStringLiteral("Cancel scan"), "xmark.circle");
    else
        m_scan->setContent(QStringLiteral("Run scan"), "arrow.clockwise");
}

}  // namespace tallowmere
