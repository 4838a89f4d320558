// The GUI tests run on Qt's offscreen platform, with one QApplication.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/qelvar_app.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
