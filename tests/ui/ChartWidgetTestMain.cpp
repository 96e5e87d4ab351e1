#include <QApplication>
#include <gtest/gtest.h>

// Widgets need the application object for the whole run of the tests.
int main(int argc, char** argv) {
    // ctest sets the offscreen platform for the runs, but not for the listing of the tests at
    // build time, which must not need a display either; the screen checks rely on offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
