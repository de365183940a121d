// The window tests need a QApplication before any widget exists.
#include <QApplication>

#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    // ctest lists the tests before it sets the test environment, so a run
    // without a display must still get a platform rather than abort.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    velmora::ui::InstallJapaneseFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
