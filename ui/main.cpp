#include "ui/MainWindow.h"
#include "ui/shell/ApplicationMain.h"

int main(int argc, char** argv) {
    return tallowmere::runApplication(
        argc, argv, [](tallowmere::AppModel& model) { return new tallowmere::MainWindow(model); });
}
