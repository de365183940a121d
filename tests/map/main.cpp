#include <QApplication>

#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::ui::InstallJapaneseFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
