#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppModel.h"
#include "core/icloud/ICloudFileScanResult.h"
#include "core/safety/ScanRun.h"
#include "tests/support/FakePhotoLibrary.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Gate.h"
#include "tests/support/InMemoryFileSystem.h"
#include "ui/dialogs/FileChooser.h"

namespace tallowmere::testing {

// A model as the screens meet it, on an in-memory store with a fixed clock, English
// formatting and a file system in memory whose home is /home/tester. The store is seeded
// through the same repositories the model uses, then the model refreshes.
class UiTestModel {
public:
    UiTestModel();

    AppModel& operator*() { return *m_model; }
    AppModel* operator->() { return m_model.get(); }
    AppModel& model() { return *m_model; }

    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(Date(1'765'443'900));
    std::shared_ptr<InMemoryFileSystem> fileSystem = std::make_shared<InMemoryFileSystem>();
    std::shared_ptr<FakePhotoLibrary> photoLibrary = std::make_shared<FakePhotoLibrary>();

    // A finished iCloud Drive scan with `results` stored as its rows, its summary tallied
    // from them and its findings; the model then refreshes.
    void storeICloudScan(const std::vector<ICloudFileScanResult>& results,
                         ScanRunStatus status = ScanRunStatus::completed);
    void storePhotosScan(const PhotosScanSummary& summary);
    void storeActivity(int count);
    ICloudScanRoot addUserRoot(const std::string& path);
    // A folder of `count` small local files "File 1.txt"... on the file system, added as a
    // scan root; a scan of it stops at `gate` just before the file numbered `stopAt`.
    void addScannableFolder(const std::string& path, int count, Gate* gate = nullptr,
                            int stopAt = 0);
    void upsertDetectedRoot(const std::string& path, const std::string& name,
                            ICloudScanRootKind kind);

    // `count` file results of one scan, in the states given in turn.
    static std::vector<ICloudFileScanResult> fileResults(
        int count, const std::vector<ICloudFileState>& states);

private:
    std::unique_ptr<AppModel> m_model;
};

// Answers the open panels as the test says and records what was asked.
class FakeFileChooser final : public FileChooser {
public:
    std::optional<std::string> choose(const OpenPanelRequest& request, QWidget*) override {
        requests.push_back(request);
        return answer;
    }

    std::optional<std::string> answer;
    std::vector<OpenPanelRequest> requests;
};

// Runs posted events and timers until the screens have redrawn.
void settle();

// The text of the named label under `parent` that is shown; "<none: name>" when there is
// none.
QString shownText(const QWidget& parent, const char* objectName);
// The named widgets under `parent` that are shown, top to bottom, then left to right.
std::vector<QWidget*> shownWidgets(const QWidget& parent, const QString& objectName);

template <typename T>
T* child(const QWidget& parent, const char* objectName) {
    return parent.findChild<T*>(QLatin1String(objectName));
}

// A fixture for one screen, made from a test model and a fake open panel and shown at
// the given size by show().
template <typename Screen, int Width = 884, int Height = 700>
class ScreenTest : public ::testing::Test {
protected:
    Screen& show() {
        m_view = std::make_unique<Screen>(*m_model, m_chooser);
        m_view->resize(Width, Height);
        m_view->show();
        settle();
        return *m_view;
    }

    UiTestModel m_model;
    std::shared_ptr<FakeFileChooser> m_chooser = std::make_shared<FakeFileChooser>();
    std::unique_ptr<Screen> m_view;
};

// Writes the widget's image to build/screenshots/<file>; false when it cannot.
bool saveScreenshot(QWidget& widget, const char* file);

}  // namespace tallowmere::testing
