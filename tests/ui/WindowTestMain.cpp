#include <QApplication>
#include <gtest/gtest.h>

// The window's widgets need the application object for the whole run of the tests, even when
// the tests are only listed; they never need a display.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
