#pragma once

#include <QApplication>
#include <QLabel>
#include <QUrl>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppModel.h"
#include "core/platform/Formatting.h"
#include "core/safety/ReportSummary.h"
#include "tests/app/AppTestDoubles.h"
#include "tests/support/FakePhotoLibrary.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/GatedCopyFileSystem.h"
#include "tests/support/StoredStateFixtures.h"
#include "tests/ui/UiTestModel.h"

namespace tallowmere {
class TMButton;
}  // namespace tallowmere

namespace tallowmere::testing {

// A real application model over an in-memory store, with a fixed clock at kNow, English
// formatting and fake dialogs and desktop. Tests put state into the store with the
// helpers and refresh, as the workflows do.
class ModelFixture {
public:
    // A Linux file system without a home folder (no default scan roots) unless given.
    explicit ModelFixture(std::shared_ptr<FileSystem> fileSystem = nullptr);
    ~ModelFixture();

    AppModel& model() { return *m_model; }
    const Formatting& formatting() const { return m_formatting; }
    FakePrompts& dialogs() { return *m_dialogs; }
    FakeDesktop& desktop() { return *m_desktop; }
    TallowmereDatabase& database() { return *m_database; }
    FakePhotoLibrary& photoLibrary() { return *m_photoLibrary; }

    void storeScan(SafetyState overallState);
    void storeDestination(const BackupDestination& destination);
    void storeJob(const BackupJobSnapshot& job, const std::vector<BackupManifestItem>& items = {});
    void storeRun(const VerificationRun& run,
                  const std::vector<VerificationItemResult>& results = {});
    void storeReport(const ReportSummary& report);
    void setSetting(const std::string& key, const std::string& value);
    void refresh() { m_model->refreshFromStore(); }

private:
    std::shared_ptr<TallowmereDatabase> m_database;
    std::shared_ptr<FixedClock> m_clock;
    EnglishFormatting m_formatting;
    std::shared_ptr<FakePrompts> m_dialogs;
    std::shared_ptr<FakeDesktop> m_desktop;
    std::shared_ptr<FakePhotoLibrary> m_photoLibrary;
    std::unique_ptr<AppModel> m_model;
    int m_scansStored = 0;
};

// A file system whose every open for reading first passes the gate.
class GatedReads final : public ForwardingFileSystem {
public:
    GatedReads(std::shared_ptr<FileSystem> inner, Gate& gate)
        : ForwardingFileSystem(std::move(inner)), m_gate(gate) {}

    FileResult<std::unique_ptr<FileReader>> openForReading(const std::string& path) const override {
        m_gate.pass();
        return ForwardingFileSystem::openForReading(path);
    }

private:
    Gate& m_gate;
};

// A manifest item of `job` with the given path and status.
BackupManifestItem manifestItem(const BackupJobSnapshot& job, const std::string& relativePath,
                                BackupItemStatus status, const std::string& message);
// A failed check of one copied file.
VerificationItemResult failedResult(const VerificationRun& run, const std::string& relativePath,
                                    VerificationItemStatus status,
                                    std::optional<std::string> reason);
ReportSummary storedReport(const std::string& title, Date generatedAt);

// Runs the event loop until no redraw of a screen under `root` is waiting.
void settleRedraws(QWidget& root);

// The text of the visible label named `name` under `parent`; a marker when there is none.
QString textOf(const QWidget& parent, const char* name);
// Whether the child named `name` would be shown when `parent` is.
bool shows(const QWidget& parent, const char* name);
// The value and the detail line of the metric tile named `tile` under `view`.
QString tileValue(const QWidget& view, const char* tile);
QString tileDetail(const QWidget& view, const char* tile);
// The value of the count titled `title` under `view`; a marker when there is none.
QString countValue(const QWidget& view, const char* title);
// The button named `name` under `view`, if any.
TMButton* button(const QWidget& view, const char* name);

// Shows the widget at the given size and lets it lay itself out.
void showAt(QWidget& widget, QSize size);
// Saves what the widget shows into build/screenshots/<file>; the widget is grown to its
// whole content height first when `wholeHeight` is set.
void saveFullScreenshot(QWidget& widget, const char* file);

}  // namespace tallowmere::testing
