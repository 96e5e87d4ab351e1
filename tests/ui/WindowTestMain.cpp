#include <QApplication>
#include <gtest/gtest.h>
#include <ombrelis/ui/ShippedResources.h>

// The window's widgets need the application object for the whole run of the tests, even when
// the tests are only listed; they never need a display. The faces and French texts are set up
// as the program does, and the machine's own faces are limited to those of a fresh Debian.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef OMBRELIS_TEST_FONTCONFIG // the window's own tests; others share this main
    qputenv("FONTCONFIG_FILE", OMBRELIS_TEST_FONTCONFIG);
#endif
    QApplication app(argc, argv);
    ombrelis::ui::installShippedFacesAndFrench(app);
    return RUN_ALL_TESTS();
}
