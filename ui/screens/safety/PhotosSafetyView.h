#pragma once

#include <array>
#include <memory>

#include "ui/components/TMScreen.h"

class QLabel;
class QProgressBar;

namespace tallowmere {

class AppModel;
class DetailRow;
class FileChooser;
class MetricView;
class Panel;
class RedrawScheduler;
class StatusPill;
class TMButton;

// The latest Photos metadata scan and what it can and cannot tell: four metric tiles, the
// running scan, the current status, the library's details and two lists of what is known
// and what is not. Read-only towards the library; redrawn from the model after each burst
// of changes.
class PhotosSafetyView : public TMScreen {
    Q_OBJECT
public:
    static constexpr int kMetricMinimumWidth = 190;
    static constexpr int kMetricSpacing = 16;

    // The model must outlive the screen; `chooser` shows the library panel.
    PhotosSafetyView(AppModel& model, std::shared_ptr<FileChooser> chooser,
                     QWidget* parent = nullptr);

    // Redraws from the model now.
    void redraw();

private:
    QWidget* makeScanningPanel();
    QWidget* makeStatusPanel();
    QWidget* makeDetailsPanel();
    QWidget* makeKnownAndUnknown();
    void chooseLibrary();

    AppModel& m_model;
    std::shared_ptr<FileChooser> m_chooser;
    RedrawScheduler* m_scheduler;
    TMButton* m_scanButton = nullptr;
    std::array<MetricView*, 4> m_metrics{};
    tallowmere::Panel* m_scanningPanel = nullptr;
    QLabel* m_scanningStage = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressMessage = nullptr;
    StatusPill* m_statusPill = nullptr;
    QLabel* m_statusMessage = nullptr;
    DetailRow* m_selectedPackage = nullptr;
    DetailRow* m_detectedPackage = nullptr;
    DetailRow* m_packageSize = nullptr;
    DetailRow* m_dateRange = nullptr;
    QWidget* m_dateRangeNote = nullptr;
    QLabel* m_dateRangeNoteText = nullptr;
    DetailRow* m_favorites = nullptr;
    DetailRow* m_screenshots = nullptr;
    DetailRow* m_hiddenItems = nullptr;
    DetailRow* m_resources = nullptr;
    DetailRow* m_videoDuration = nullptr;
};

}  // namespace tallowmere
