// qelvar: the PC control program of the switcher.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/qelvar_app.h"

namespace {

// Saves a picture of the main window once it has been laid out, then quits.
void ScheduleScreenshot(CMainFrame* frame, const QString& path) {
    QTimer::singleShot(1500, frame, [frame, path] {
        frame->grab().save(path);
        frame->ShutdownLink();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CAppOptions options = ParseAppOptions(QApplication::arguments());
    if (!options.strError.empty()) {
        std::fprintf(stderr,
                     "qelvar: %s\nusage: qelvar [--simulator [--model 32|64] [--rs485 NN]] "
                     "[--profile INI]\n",
                     options.strError.c_str());
        return 1;
    }
    CQelvarApp qelvar;
    if (!qelvar.InitInstance(options)) return 0;
    if (!options.strScreenshot.empty()) {
        ScheduleScreenshot(qelvar.MainFrame(), QString::fromStdString(options.strScreenshot));
    }
    return qelvar.ExitInstance(QApplication::exec());
}
