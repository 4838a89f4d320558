// The GUI tests run on Qt's offscreen platform, with one QApplication.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>

#include "app/qelvar_app.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing of the desktop session the suite runs in: its scaling, font
    // resolution, theme, style or input method would change sizes and pixels.
    for (const char* name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
          "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_FONT_DPI",
          "QT_USE_PHYSICAL_DPI", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "QT_IM_MODULE",
          "QT_IM_MODULES"}) {
        qunsetenv(name);
    }
    // Tests must never switch the input method of the desktop they run on.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    // A runtime folder of our own: the tests never meet a running program's instance lock.
    char runtime[] = "/tmp/qelvar-app-tests-XXXXXX";
    if (mkdtemp(runtime)) qputenv("XDG_RUNTIME_DIR", runtime);
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
