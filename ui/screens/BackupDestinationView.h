#pragma once

#include <optional>

#include "core/secondcopy/BackupDestination.h"
#include "ui/components/TMScreen.h"

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace tallowmere {

class AppModel;
class CountView;
class ElidedLabel;
class FolderChooser;
class Formatting;
class MetricView;
class RedrawCoalescer;
class SymbolLabel;
class TMButton;

// The "Selected drive" tile's detail: the copy policy's warning, else the destination's
// own warning, else a sentence about its status ("Destination status: Missing.").
QString destinationDetail(const std::optional<BackupDestination>& destination,
                          bool allowLocalTestDestination);

// The "Backup Destination" screen: choose the destination folder, prepare the copy plan,
// start, resume, pause and cancel copying, and see the plan's items. Reads the model,
// redraws when it changes and calls its second-copy workflows; the workflows repeat every
// check the buttons make. `model`, `formatting` and `folders` must outlive the screen.
class BackupDestinationView : public TMScreen {
    Q_OBJECT
public:
    BackupDestinationView(AppModel& model, const Formatting& formatting, FolderChooser& folders,
                          QWidget* parent = nullptr);

    // Asks for a folder and, when one is chosen, selects it as the destination.
    void chooseDestination();

private:
    QWidget* makeDestinationPanel();
    QWidget* makePreparationPanel();
    QWidget* makeSafetyNotesPanel();
    QWidget* makeManifestPanel();

    void redraw();
    void redrawDestination();
    void redrawPreparation();
    void redrawManifestItems();

    AppModel& m_model;
    const Formatting& m_formatting;
    FolderChooser& m_folders;
    RedrawCoalescer* m_redraw;
    bool m_itemsChanged = true;

    MetricView* m_driveTile = nullptr;
    MetricView* m_preparedTile = nullptr;

    QLabel* m_destinationStatus = nullptr;
    QLabel* m_noDestination = nullptr;
    ElidedLabel* m_path = nullptr;
    QLabel* m_available = nullptr;
    SymbolLabel* m_destinationWarning = nullptr;
    SymbolLabel* m_policyWarning = nullptr;
    TMButton* m_choose = nullptr;
    TMButton* m_refresh = nullptr;

    QLabel* m_jobMessage = nullptr;
    QLabel* m_jobStatus = nullptr;
    CountView* m_ready = nullptr;
    CountView* m_copied = nullptr;
    CountView* m_skipped = nullptr;
    CountView* m_conflicts = nullptr;
    CountView* m_failed = nullptr;
    QWidget* m_progress = nullptr;
    QProgressBar* m_progressBar = nullptr;
    ElidedLabel* m_progressText = nullptr;
    SymbolLabel* m_copyWarning = nullptr;
    TMButton* m_prepare = nullptr;
    TMButton* m_start = nullptr;
    TMButton* m_pause = nullptr;
    TMButton* m_cancel = nullptr;

    QLabel* m_noItems = nullptr;
    QWidget* m_items = nullptr;
    QVBoxLayout* m_itemsLayout = nullptr;
};

}  // namespace tallowmere
