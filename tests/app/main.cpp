#include <QCoreApplication>

#include <gtest/gtest.h>

// The model needs an application object for its event loop and its queued calls.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
