#pragma once

#include "core/verification/VerificationRun.h"
#include "ui/components/TMScreen.h"

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace tallowmere {

class AppModel;
class CountView;
class ElidedLabel;
class Formatting;
class MetricView;
class RedrawCoalescer;
class TMButton;

// The "Restore test" tile's value for a restore-test run's status ("Sample passed").
QString restoreTestValue(VerificationStatus status);
// Its detail: the retained folder when one was kept, a hint when none has run, else the
// run's message.
QString restoreTestDetail(const VerificationRun& restoreTest);

// The "Verification" screen: starts the quick and full verification and the restore test,
// and shows their outcome and the recorded failures. Reads the model, redraws when it
// changes and calls its verification workflows. `model` and `formatting` must outlive the
// screen.
class VerificationView : public TMScreen {
    Q_OBJECT
public:
    VerificationView(AppModel& model, const Formatting& formatting, QWidget* parent = nullptr);

private:
    QWidget* makeExplanationPanel();
    QWidget* makeVerificationPanel();
    QWidget* makeFindingsPanel();

    void redraw();
    void redrawFindings();

    AppModel& m_model;
    const Formatting& m_formatting;
    RedrawCoalescer* m_redraw;
    bool m_resultsChanged = true;

    MetricView* m_lastVerificationTile = nullptr;
    MetricView* m_restoreTestTile = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_progress = nullptr;
    QProgressBar* m_progressBar = nullptr;
    ElidedLabel* m_progressText = nullptr;
    CountView* m_checked = nullptr;
    CountView* m_failed = nullptr;
    CountView* m_skipped = nullptr;
    CountView* m_bytesRead = nullptr;
    QWidget* m_buttons = nullptr;
    TMButton* m_quick = nullptr;
    TMButton* m_full = nullptr;
    TMButton* m_restore = nullptr;
    QLabel* m_noFindings = nullptr;
    QWidget* m_findings = nullptr;
    QVBoxLayout* m_findingsLayout = nullptr;
};

}  // namespace tallowmere
