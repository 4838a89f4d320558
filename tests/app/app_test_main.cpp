// The GUI tests run on Qt's offscreen platform, with one QApplication.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>

#include "app/qelvar_app.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
