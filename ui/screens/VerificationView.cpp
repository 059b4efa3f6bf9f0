#include "ui/screens/VerificationView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "core/platform/Formatting.h"
#include "ui/components/CountView.h"
#include "ui/components/Divider.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/screens/MainThreadTask.h"
#include "ui/screens/RedrawCoalescer.h"
#include "ui/screens/PanelParts.h"
#include "ui/theme/SecondCopyPresentation.h"

namespace tallowmere {
namespace {

// One recorded failure: its status symbol, the file, why it failed, and the status.
QWidget* findingRow(const VerificationItemResult& result, const QPalette& palette) {
    const QColor color = TMTheme::color(statusColor(result.status), palette);
    const QString status = toQString(displayName(result.status));
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("findingRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(10);
    auto* symbol = new SymbolView(statusSymbol(result.status), color, 22);
    symbol->setObjectName(QStringLiteral("findingSymbol"));
    layout->addWidget(symbol, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* path = new ElidedLabel(Qt::ElideMiddle);
    path->setObjectName(QStringLiteral("findingPath"));
    TMTheme::styleLabel(path, TextStyle::headline, ThemeColor::label);
    path->setFullText(toQString(result.relativePath));
    texts->addWidget(path);
    texts->addWidget(makeLabel(result.failureReason ? toQString(*result.failureReason) : status,
                               "findingReason", TextStyle::callout, ThemeColor::secondaryLabel));
    layout->addLayout(texts, 1);
    QLabel* statusLabel =
        makeLabel(status, "findingStatus", TextStyle::caption, ThemeColor::label, false);
    TMTheme::styleLabel(statusLabel, TextStyle::caption, color);
    layout->addWidget(statusLabel, 0, Qt::AlignTop | Qt::AlignRight);
    return row;
}

}  // namespace

QString restoreTestValue(VerificationStatus status) {
    switch (status) {
        case VerificationStatus::verified:
            return QStringLiteral("Sample passed");
        case VerificationStatus::running:
            return QStringLiteral("Running");
        case VerificationStatus::failed:
            return QStringLiteral("Needs attention");
        case VerificationStatus::unknown:
            return QStringLiteral("Unknown");
        case VerificationStatus::notRun:
            return QStringLiteral("Not run");
    }
    return QStringLiteral("Unknown");
}

QString restoreTestDetail(const VerificationRun& restoreTest) {
    if (restoreTest.restoreTestPath) {
        return QStringLiteral("A failed restore-test folder was retained at ") +
               toQString(*restoreTest.restoreTestPath) + QLatin1Char('.');
    }
    if (restoreTest.status == VerificationStatus::notRun)
        return QStringLiteral("Your backup has not passed a sample restore test yet.");
    return toQString(restoreTest.message);
}

VerificationView::VerificationView(AppModel& model, const Formatting& formatting, QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_formatting(formatting),
      m_redraw(new RedrawCoalescer([this] { redraw(); }, this)) {
    setObjectName(QStringLiteral("verificationView"));
    addWidget(new ScreenHeader(
        QStringLiteral("Verification"),
        QStringLiteral("Checksum checks, sample restore tests, and restore confidence.")));
    addWidget(makeExplanationPanel());

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(16);
    m_lastVerificationTile =
        new MetricView(QStringLiteral("Last verification"), {}, {}, "checkmark.seal");
    m_lastVerificationTile->setObjectName(QStringLiteral("lastVerificationTile"));
    m_restoreTestTile =
        new MetricView(QStringLiteral("Restore test"), {}, {}, "arrow.counterclockwise.circle");
    m_restoreTestTile->setObjectName(QStringLiteral("restoreTestTile"));
    tiles->addWidget(m_lastVerificationTile, 1);
    tiles->addWidget(m_restoreTestTile, 1);
    addLayout(tiles);

    addWidget(makeVerificationPanel());
    addWidget(makeFindingsPanel());

    m_redraw->watch(&m_model, &AppModel::verificationSnapshotChanged,
                    &AppModel::restoreTestSnapshotChanged, &AppModel::verificationProgressChanged,
                    &AppModel::isVerificationRunningChanged);
    connect(&m_model, &AppModel::verificationResultsChanged, this, [this] {
        m_resultsChanged = true;
        m_redraw->schedule();
    });
    redraw();
}

QWidget* VerificationView::makeExplanationPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("explanationPanel"));
    auto* label = new SymbolLabel(
        "lock.shield", QStringLiteral("Tallowmere does not modify your original files."),
        TextStyle::headline, TMTheme::color(ThemeColor::trust, palette()));
    label->setObjectName(QStringLiteral("explanationLabel"));
    panel->addWidget(label);
    panel->addWidget(makeLabel(
        QStringLiteral("Verification checks that Tallowmere can read the second copy. Quick "
                       "verification checks a sample, full verification checks every copied "
                       "file, and restore test copies a sample from the backup into a temporary "
                       "folder and checks it."),
        "explanationText", TextStyle::body, ThemeColor::secondaryLabel));
    return panel;
}

QWidget* VerificationView::makeVerificationPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("verificationPanel"));
    m_status = makeSemiboldLabel({}, "verificationStatus", TextStyle::caption,
                                 ThemeColor::secondaryLabel, false);
    panel->contentLayout()->addLayout(
        panelHeading(makeLabel(QStringLiteral("Backup verification"), "panelTitle",
                               TextStyle::title3, ThemeColor::label),
                     nullptr, m_status));

    m_progress = new QWidget;
    m_progress->setObjectName(QStringLiteral("verificationProgress"));
    auto* progressColumn = new QVBoxLayout(m_progress);
    progressColumn->setContentsMargins(0, 0, 0, 0);
    progressColumn->setSpacing(4);
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("verificationProgressBar"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(8);
    m_progressText = new ElidedLabel(Qt::ElideMiddle);
    m_progressText->setObjectName(QStringLiteral("verificationProgressText"));
    TMTheme::styleLabel(m_progressText, TextStyle::caption, ThemeColor::secondaryLabel);
    progressColumn->addWidget(m_progressBar);
    progressColumn->addWidget(m_progressText);
    panel->addWidget(m_progress);

    auto* counts = new QHBoxLayout;
    counts->setSpacing(28);
    m_checked = new CountView(QStringLiteral("Checked"), {});
    m_failed = new CountView(QStringLiteral("Failed"), {});
    m_skipped = new CountView(QStringLiteral("Skipped"), {});
    m_bytesRead = new CountView(QStringLiteral("Bytes read"), {});
    for (CountView* view : {m_checked, m_failed, m_skipped, m_bytesRead}) counts->addWidget(view);
    counts->addStretch(1);
    panel->contentLayout()->addLayout(counts);

    m_quick = new TMButton(QStringLiteral("Quick Verification"), "checkmark.circle",
                           TMButton::Kind::prominent);
    m_quick->setObjectName(QStringLiteral("quickVerificationButton"));
    m_full = new TMButton(QStringLiteral("Full Verification"), "checkmark.seal",
                          TMButton::Kind::bordered);
    m_full->setObjectName(QStringLiteral("fullVerificationButton"));
    m_restore = new TMButton(QStringLiteral("Restore Test"), "arrow.counterclockwise.circle",
                             TMButton::Kind::bordered);
    m_restore->setObjectName(QStringLiteral("restoreTestButton"));
    connect(m_quick, &QPushButton::clicked, this, [] {
        // Wired once the model offers runQuickVerification().
    });
    connect(m_full, &QPushButton::clicked, this, [] {
        // Wired once the model offers runFullVerification().
    });
    connect(m_restore, &QPushButton::clicked, this, [] {
        // Wired once the model offers runRestoreTest().
    });
    m_buttons = new QWidget;
    m_buttons->setObjectName(QStringLiteral("verificationButtons"));
    QLayout* row = buttonRow({m_quick, m_full, m_restore});
    row->setContentsMargins(0, 2, 0, 0);
    m_buttons->setLayout(row);
    panel->addWidget(m_buttons);
    return panel;
}

QWidget* VerificationView::makeFindingsPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("findingsPanel"));
    panel->addWidget(makeLabel(QStringLiteral("Recent verification findings"), "panelTitle",
                               TextStyle::title3, ThemeColor::label));
    m_noFindings = makeLabel(QStringLiteral("No verification failures have been recorded."),
                             "noFindings", TextStyle::body, ThemeColor::secondaryLabel);
    panel->addWidget(m_noFindings);
    m_findings = new QWidget;
    m_findings->setObjectName(QStringLiteral("findings"));
    m_findingsLayout = new QVBoxLayout(m_findings);
    m_findingsLayout->setContentsMargins(0, 0, 0, 0);
    m_findingsLayout->setSpacing(6);
    panel->addWidget(m_findings);
    return panel;
}

void VerificationView::redraw() {
    const VerificationRun& verification = m_model.verificationSnapshot();
    const VerificationRun& restoreTest = m_model.restoreTestSnapshot();
    const VerificationProgressSnapshot& progress = m_model.verificationProgress();

    m_lastVerificationTile->setValue(
        verification.completedAt ? toQString(m_formatting.dateTime(*verification.completedAt))
                                 : QStringLiteral("Never"),
        toQString(verification.message));
    m_restoreTestTile->setValue(restoreTestValue(restoreTest.status),
                                restoreTestDetail(restoreTest));

    m_status->setText(toQString(verificationStatusLabel(verification.status)));
    TMTheme::styleLabel(m_status, TextStyle::caption,
                        TMTheme::color(statusColor(verification.status), palette()));
    setSemibold(m_status);

    m_progress->setVisible(progress.isRunning);
    if (progress.isRunning) {
        // A total below 1 is taken as 1: the bar is never indeterminate here.
        setProgress(m_progressBar, progress.checkedFiles + progress.skippedFiles,
                    std::max<std::int64_t>(progress.totalFiles, 1));
        m_progressText->setFullText(toQString(progress.currentFile.value_or(progress.message)));
    }

    m_checked->setValue(toQString(m_formatting.count(verification.checkedFiles)));
    m_failed->setValue(toQString(m_formatting.count(verification.failedFiles)));
    m_skipped->setValue(toQString(m_formatting.count(verification.skippedFiles)));
    m_bytesRead->setValue(toQString(m_formatting.byteCount(verification.bytesChecked)));

    m_buttons->setEnabled(!m_model.isVerificationRunning());

    if (m_resultsChanged) {
        m_resultsChanged = false;
        redrawFindings();
    }
}

void VerificationView::redrawFindings() {
    while (QLayoutItem* item = m_findingsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::vector<VerificationItemResult>& results = m_model.verificationResults();
    m_noFindings->setVisible(results.empty());
    m_findings->setVisible(!results.empty());
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (i > 0)
            m_findingsLayout->addWidget(new Divider);
        m_findingsLayout->addWidget(findingRow(results[i], palette()));
    }
}

}  // namespace tallowmere
