#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "ui/components/TMScreen.h"
#include "ui/screens/safety/SafetyScreenContent.h"

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace tallowmere {

class AppModel;
class FileChooser;
class ICloudFileResultsList;
class MetricView;
class Panel;
class RedrawScheduler;
class TMButton;

// The latest iCloud Drive scan: four metric tiles, the cloud-only warning when the scan
// found such files, the running scan with its counts, the folders that are scanned (with
// adding and removing), a note on what can be diagnosed, and the newest file results.
// Read-only towards the user's files; redrawn from the model after each burst of changes.
class ICloudDriveSafetyView : public TMScreen {
    Q_OBJECT
public:
    static constexpr int kMetricMinimumWidth = 190;
    static constexpr int kMetricSpacing = 16;

    // The model must outlive the screen; `chooser` shows the folder panel.
    ICloudDriveSafetyView(AppModel& model, std::shared_ptr<FileChooser> chooser,
                          QWidget* parent = nullptr);

    // Redraws from the model now.
    void redraw();

private:
    QWidget* makeScanningPanel();
    QWidget* makeScanFoldersPanel();
    QWidget* makeResultsPanel();
    void showScanRoots(const std::vector<SafetyScreenContent::ScanRootRow>& rows);
    void addFolder();
    void cancelScan();

    AppModel& m_model;
    std::shared_ptr<FileChooser> m_chooser;
    RedrawScheduler* m_scheduler;
    std::array<MetricView*, 4> m_metrics{};
    tallowmere::Panel* m_cloudOnlyPanel = nullptr;
    tallowmere::Panel* m_scanningPanel = nullptr;
    QLabel* m_scanningDetail = nullptr;
    std::array<QLabel*, 4> m_progressCounts{};
    TMButton* m_runScanButton = nullptr;
    QLabel* m_rootsEmpty = nullptr;
    QVBoxLayout* m_rootRows = nullptr;
    std::optional<std::vector<SafetyScreenContent::ScanRootRow>> m_shownRoots;
    QLabel* m_resultsEmpty = nullptr;
    ICloudFileResultsList* m_results = nullptr;
};

}  // namespace tallowmere
