#include <QApplication>
#include <iostream>

#include "app/AppModel.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallowmere"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallowmere"));

    tallowmere::AppModel* model = nullptr;
    try {
        model = &tallowmere::AppModel::shared();
    } catch (const std::exception&) {
        // Not even temporary storage could be made: there is nothing to show.
        std::cerr << "Tallowmere could not create its local storage.\n";
        return 1;
    }
    tallowmere::MainWindow window(*model);
    window.show();
    window.raise();
    window.activateWindow();
    return QApplication::exec();
}
