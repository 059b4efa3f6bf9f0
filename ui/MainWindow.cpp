#include "ui/MainWindow.h"

#include <QToolBar>

#include "ui/RootView.h"
#include "ui/dialogs/FileChooser.h"

namespace tallowmere {

MainWindow::MainWindow(AppModel& model, std::shared_ptr<FileChooser> chooser, QWidget* parent)
    : QMainWindow(parent),
      m_root(new RootView(model,
                          chooser ? std::move(chooser) : std::make_shared<DialogFileChooser>())),
      m_toolbar(new QToolBar(QStringLiteral("Window"))) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Tallowmere"));
    m_toolbar->setObjectName(QStringLiteral("mainToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(18, 18));
    m_toolbar->toggleViewAction()->setVisible(false);
    m_toolbar->addAction(m_root->sidebarToggleAction());
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    setUnifiedTitleAndToolBarOnMac(true);
    setCentralWidget(m_root);
    resize(kDefaultWidth, kDefaultHeight);
}

}  // namespace tallowmere
