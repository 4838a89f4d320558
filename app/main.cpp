// qelvar: the PC control program of the switcher.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <optional>

#include "app/qelvar_app.h"

namespace {

const char kUsage[] = "Usage: qelvar [--simulator [--model 32|64] [--rs485 NN]] [--profile INI]\n";

const char kHelp[] = R"(The control program of a Qelvar video matrix switcher (32 outputs, 32 or 64
inputs) on one serial line: edits the switcher's settings as tables, sends
them, reads them back and keeps them in .dat settings files.

Options:
  --simulator     run on the built-in virtual switcher instead of the serial port
  --model 32|64   the virtual switcher's input count (default: the profile's)
  --rs485 NN      the virtual switcher on RS-485 with slave address NN (00..31)
  --profile INI   the profile to read (default: $QELVAR_PROFILE, else
                  $XDG_CONFIG_HOME/Qelvar/Qelvar.ini or ~/.config/Qelvar/Qelvar.ini)
  --help          print this help
  --version       print the version

The profile names the serial port; a user needs to be in the dialout group to
open it.
)";

// Answered before Qt starts, so that they work without a display.
std::optional<int> AnswerInfoOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("qelvar (Qelvar) %s\n", QELVAR_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

// Saves a picture of the main window once it has been laid out, then quits.
void ScheduleScreenshot(CMainFrame* frame, const QString& path) {
    QTimer::singleShot(1500, frame, [frame, path] {
        frame->grab().save(path);
        frame->ShutdownLink();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (auto status = AnswerInfoOption(argc, argv)) return *status;
    QApplication app(argc, argv);
    CAppOptions options = ParseAppOptions(QApplication::arguments());
    if (!options.strError.empty()) {
        std::fprintf(stderr, "qelvar: %s\n%s", options.strError.c_str(), kUsage);
        return 1;
    }
    CQelvarApp qelvar;
    if (!qelvar.InitInstance(options)) return 0;
    if (!options.strScreenshot.empty()) {
        ScheduleScreenshot(qelvar.MainFrame(), QString::fromStdString(options.strScreenshot));
    }
    return qelvar.ExitInstance(QApplication::exec());
}
