#include <gmock/gmock.h>

#include <QApplication>
#include <QStyle>

// The interface tests need a QApplication before the first widget. They draw off screen:
// without a display, and also when the test list is read at build time.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The same look on every machine, whatever the desktop's settings.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
