// Renders every component and every symbol into images under build/screenshots, so that
// people can look at the interface's pieces without starting the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <string>

#include "core/platform/Formatting.h"
#include "core/platform/Uuid.h"
#include "ui/components/DetailRow.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMActionCard.h"
#include "ui/components/TMActivityTimeline.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QString screenshotPath(const char* file) {
    QDir().mkpath(QStringLiteral(TALLOWMERE_SCREENSHOT_DIR));
    return QStringLiteral(TALLOWMERE_SCREENSHOT_DIR) + QLatin1Char('/') + QLatin1String(file);
}

QLabel* caption(const QString& text) {
    auto* label = new QLabel(text);
    TMTheme::styleLabel(label, TextStyle::caption, ThemeColor::secondaryLabel);
    return label;
}

QLabel* sectionTitle(const QString& text) {
    auto* label = new QLabel(text);
    TMTheme::styleLabel(label, TextStyle::title3, ThemeColor::label);
    return label;
}

QWidget* symbolGrid() {
    auto* panel = new TMPanel(20);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(14);
    const auto names = Symbols::names();
    constexpr int kColumns = 7;
    const QColor ink = TMTheme::color(ThemeColor::label);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* cell = new QVBoxLayout;
        cell->setSpacing(4);
        cell->addWidget(new SymbolView(names[i], ink, 28), 0, Qt::AlignHCenter);
        // Long names may break after a dot.
        QLabel* name =
            caption(toQString(names[i]).replace(QLatin1Char('.'), QStringLiteral(".\u200B")));
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setWordWrap(true);
        name->setFixedSize(150, name->fontMetrics().height() * 2 + 2);
        cell->addWidget(name, 0, Qt::AlignHCenter);
        grid->addLayout(cell, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
    }
    // The fallback for a name without a drawing.
    auto* cell = new QVBoxLayout;
    cell->addWidget(new SymbolView("unknown.name", TMTheme::color(ThemeColor::secondaryLabel), 28),
                    0, Qt::AlignHCenter);
    cell->addWidget(caption(QStringLiteral("(unknown name)")), 0, Qt::AlignHCenter);
    grid->addLayout(cell, static_cast<int>(names.size()) / kColumns,
                    static_cast<int>(names.size()) % kColumns);
    panel->contentLayout()->addLayout(grid);
    return panel;
}

std::vector<ActivityEvent> sampleEvents() {
    std::vector<ActivityEvent> events;
    const auto add = [&events](ActivityEventKind kind, const char* title, const char* message,
                               SafetyState severity, double at) {
        events.emplace_back(Uuid::random(), kind, title, message, severity, std::nullopt, Date(at));
    };
    add(ActivityEventKind::iCloudScan, "iCloud scan finished",
        "Scanned 1,204 items. 12 may only exist in iCloud.", SafetyState::cloudOnly,
        1'765'443'900.0);
    add(ActivityEventKind::backup, "Backup completed", "Copied 1,180 files to the second copy.",
        SafetyState::protected_, 1'765'400'000.0);
    add(ActivityEventKind::verification, "Verification needs attention",
        "2 files did not match their checksum.", SafetyState::needsAttention, 1'765'300'000.0);
    add(ActivityEventKind::photosScan, "Photos scan finished",
        "Photos metadata was read. Local-original status remains unknown.", SafetyState::unknown,
        1'765'200'000.0);
    return events;
}

TEST(GalleryTest, RendersAllComponentsAndSymbolsForReview) {
    const EnglishFormatting formatting;
    QWidget gallery;
    gallery.setAutoFillBackground(true);
    QPalette palette = gallery.palette();
    palette.setColor(QPalette::Window, TMTheme::color(ThemeColor::background));
    gallery.setPalette(palette);
    gallery.setFixedWidth(1180);
    auto* page = new QVBoxLayout(&gallery);
    page->setContentsMargins(28, 28, 28, 28);
    page->setSpacing(18);

    page->addWidget(new TMHeader(
        QStringLiteral("Command center"), QStringLiteral("Safety Dashboard"),
        QStringLiteral("A calm view of what is local, what needs attention, and what to do next."),
        new TMButton(QStringLiteral("Run Scan"), "arrow.clockwise", TMButton::Kind::prominent)));

    page->addWidget(sectionTitle(QStringLiteral("Badges and status pills")));
    auto* badges = new QHBoxLayout;
    badges->setSpacing(8);
    auto* pills = new QHBoxLayout;
    pills->setSpacing(18);
    for (const auto& entry : allCases<SafetyState>()) {
        badges->addWidget(new TMBadge(toQString(entry.display),
                                      statePresentation(entry.value).symbolName,
                                      stateColor(entry.value)));
        pills->addWidget(new StatusPill(entry.value));
    }
    badges->addWidget(
        new TMBadge(QStringLiteral("Local only"), std::nullopt, TMTheme::color(ThemeColor::trust)));
    badges->addStretch(1);
    pills->addStretch(1);
    page->addLayout(badges);
    page->addLayout(pills);

    page->addWidget(sectionTitle(QStringLiteral("Buttons")));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(
        new TMButton(QStringLiteral("Scan Photos"), "arrow.clockwise", TMButton::Kind::prominent));
    buttons->addWidget(
        new TMButton(QStringLiteral("Choose Library"), "photo.stack", TMButton::Kind::bordered));
    buttons->addWidget(new TMButton(QStringLiteral("Add folder"), "folder.badge.plus",
                                    TMButton::Kind::borderless));
    auto* disabledProminent =
        new TMButton(QStringLiteral("Start Copy"), "play.fill", TMButton::Kind::prominent);
    disabledProminent->setEnabled(false);
    auto* disabledBordered =
        new TMButton(QStringLiteral("Refresh"), "arrow.clockwise", TMButton::Kind::bordered);
    disabledBordered->setEnabled(false);
    buttons->addWidget(disabledProminent);
    buttons->addWidget(disabledBordered);
    buttons->addStretch(1);
    page->addLayout(buttons);

    page->addWidget(sectionTitle(QStringLiteral("Status modules")));
    auto* modules = new QHBoxLayout;
    modules->setSpacing(14);
    modules->addWidget(
        new TMStatusModule(QStringLiteral("Photos"), QStringLiteral("Unknown / cannot verify"),
                           QStringLiteral("Photos metadata has not been scanned yet."),
                           "photo.on.rectangle", SafetyState::unknown));
    modules->addWidget(new TMStatusModule(
        QStringLiteral("iCloud Drive"), QStringLiteral("Cloud-only"),
        QStringLiteral("12 files may only exist in iCloud."), "icloud", SafetyState::cloudOnly));
    modules->addWidget(new TMStatusModule(
        QStringLiteral("Second Copy"), QStringLiteral("Protected"),
        QStringLiteral("Destination is ready. Prepare a manifest before copying."), "externaldrive",
        SafetyState::protected_));
    modules->addWidget(new TMStatusModule(QStringLiteral("Verification"),
                                          QStringLiteral("Backup stale"),
                                          QStringLiteral("No backup verification has passed yet."),
                                          "checkmark.seal", SafetyState::backupStale));
    page->addLayout(modules);

    page->addWidget(sectionTitle(QStringLiteral("Next best actions and activity")));
    auto* actionsAndTimeline = new QHBoxLayout;
    actionsAndTimeline->setSpacing(18);
    auto* actions = new QVBoxLayout;
    actions->setSpacing(12);
    actions->addWidget(new TMActionCard(
        "icloud", QStringLiteral("Create your iCloud safety baseline"),
        QStringLiteral("Run a read-only scan so Tallowmere can separate local, cloud-only, "
                       "waiting, and unknown files."),
        QStringLiteral("Run iCloud Scan"), true, [] {}));
    actions->addWidget(new TMActionCard(
        "photo.on.rectangle", QStringLiteral("Scan Photos metadata"),
        QStringLiteral("Photos Safety stays read-only and helps explain library size, counts, "
                       "and what remains unknown."),
        QStringLiteral("Scan Photos"), false, [] {}));
    actions->addWidget(new TMActionCard(
        "externaldrive", QStringLiteral("Choose an external drive"),
        QStringLiteral("Select a folder on an external drive for the second copy."),
        QStringLiteral("Choose Destination"), false, [] {}));
    actions->addStretch(1);
    actionsAndTimeline->addLayout(actions, 3);
    actionsAndTimeline->addWidget(new TMActivityTimeline(sampleEvents(), formatting), 2);
    page->addLayout(actionsAndTimeline);

    page->addWidget(new ScreenHeader(
        QStringLiteral("Photos Safety"),
        QStringLiteral(
            "Read-only Photos metadata, library package size, and honest restore-risk context.")));
    auto* metrics = new QHBoxLayout;
    metrics->setSpacing(16);
    metrics->addWidget(
        new MetricView(QStringLiteral("Authorization"), QStringLiteral("Not scanned"),
                       QStringLiteral("Run Photos scan to request access."), "lock.shield"));
    metrics->addWidget(new MetricView(QStringLiteral("Library items"), QStringLiteral("12,345"),
                                      QStringLiteral("Photos metadata only."), "photo.stack"));
    metrics->addWidget(new MetricView(QStringLiteral("Photos / videos"),
                                      QStringLiteral("11804 / 541"),
                                      QStringLiteral("Live Photos: 230."), "photo.on.rectangle"));
    metrics->addWidget(new MetricView(QStringLiteral("Library package"), QStringLiteral("84.2 GB"),
                                      QStringLiteral("Photos Library"), "shippingbox"));
    page->addLayout(metrics);

    auto* detailsAndEmpty = new QHBoxLayout;
    detailsAndEmpty->setSpacing(18);
    auto* details = new Panel;
    details->addWidget(sectionTitle(QStringLiteral("Library details")));
    details->addWidget(new DetailRow(QStringLiteral("Selected package"),
                                     QStringLiteral("Default Photos library location")));
    details->addWidget(
        new DetailRow(QStringLiteral("Estimated package size"), QStringLiteral("Unknown")));
    details->addWidget(new DetailRow(QStringLiteral("Favorites"), QStringLiteral("0")));
    details->addWidget(new DetailRow(QStringLiteral("Video duration"), QStringLiteral("1h 2m")));
    detailsAndEmpty->addWidget(details, 1);
    auto* emptyPanel = new Panel;
    emptyPanel->addWidget(new EmptyStateView(
        "doc.text.magnifyingglass", QStringLiteral("No reports yet"),
        QStringLiteral("Run a scan or verification to create a local report summary.")));
    detailsAndEmpty->addWidget(emptyPanel, 1);
    detailsAndEmpty->addWidget(new TMActivityTimeline(formatting), 1);
    page->addLayout(detailsAndEmpty);

    page->addWidget(sectionTitle(QStringLiteral("Symbols")));
    page->addWidget(symbolGrid());

    gallery.adjustSize();
    gallery.show();
    QApplication::processEvents();
    const QPixmap shot = gallery.grab();
    const QString path = screenshotPath("components.png");
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    EXPECT_GE(shot.width(), 1180);
    EXPECT_GT(shot.height(), 1000);
}

TEST(GalleryTest, RendersTheSymbolSheetAtTwiceThePixelRatio) {
    const auto names = Symbols::names();
    constexpr int kColumns = 7, kCell = 220, kRow = 64;
    const int rows = static_cast<int>((names.size() + kColumns - 1) / kColumns);
    QImage sheet(kColumns * kCell * 2, rows * kRow * 2, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(2.0);
    sheet.fill(TMTheme::color(ThemeColor::panel));
    {
        QPainter painter(&sheet);
        painter.setFont(TMTheme::font(TextStyle::caption));
        painter.setPen(TMTheme::color(ThemeColor::secondaryLabel));
        const SafetyState tints[] = {SafetyState::protected_, SafetyState::needsAttention,
                                     SafetyState::cloudOnly, SafetyState::unknown};
        for (std::size_t i = 0; i < names.size(); ++i) {
            const int x = static_cast<int>(i % kColumns) * kCell;
            const int y = static_cast<int>(i / kColumns) * kRow;
            // Two sizes side by side, 16 and 24 logical pixels, in a state colour.
            const QColor tint = stateColor(tints[i % std::size(tints)]);
            Symbols::paint(painter, QRectF(x + kCell / 2 - 22, y + 14, 16, 16), names[i], tint);
            Symbols::paint(painter, QRectF(x + kCell / 2 + 2, y + 10, 24, 24), names[i], tint);
            painter.drawText(QRectF(x, y + 40, kCell, 20), Qt::AlignHCenter, toQString(names[i]));
        }
    }
    const QString path = screenshotPath("symbols@2x.png");
    ASSERT_TRUE(sheet.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace tallowmere
