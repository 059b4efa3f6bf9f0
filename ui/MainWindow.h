#pragma once

#include <QMainWindow>
#include <memory>

class QToolBar;

namespace tallowmere {

class AppModel;
class FileChooser;
class RootView;

// The application's main window: the root view with a toolbar whose one button shows
// and hides the sidebar.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 1120;
    static constexpr int kDefaultHeight = 740;

    // The model must outlive the window. Without a chooser the desktop's file dialog is used.
    explicit MainWindow(AppModel& model, std::shared_ptr<FileChooser> chooser = nullptr,
                        QWidget* parent = nullptr);

    RootView* rootView() const { return m_root; }
    QToolBar* toolbar() const { return m_toolbar; }

private:
    RootView* m_root;
    QToolBar* m_toolbar;
};

}  // namespace tallowmere
