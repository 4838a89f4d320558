// qelvar_run_timing [BAUD]: how long the program's all-items run and its
// compare with the switcher take, paced by the timer and by the switcher's
// replies, on a virtual switcher that answers no sooner than a serial line of
// BAUD (default 9600) would carry the command and its reply. Prints each time
// with the wire time it needs. The program's own dialogs and main window do the
// work; the profile is a temporary one.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "app/main_frame.h"
#include "batch/cycle_steps.h"
#include "dialog_kit/batch_run_dlg.h"
#include "dialogs/all_items_dlg.h"
#include "dialogs/settings_compare_dlg.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/read_lines.h"
#include "res/batch_dialogs.h"
#include "sim/switcher_server.h"
#include "sink/message_sink.h"

namespace {

constexpr int kBitsPerCharacter = 11;  // start, 8 data, even parity, stop

// Every box is noted on stderr and dismissed, so that a run is not held up.
class CNoteSink : public CMessageSink {
public:
    void ShowBox(BoxKind kind, const std::string& text) override {
        if (kind != BoxKind::kSuccess) std::fprintf(stderr, "box: %s\n", text.c_str());
    }
};

// Characters on the wire, both ways, for the all-items run of the model in force.
long AllItemsCharacters() {
    const int n = InputChannelCount();
    const long out =
        64L * (5 + 2 * n + 2) + 64L * (4 + 96 + 2) + 3L * (3 + n + 2) + 2L * (3 + 32 + 2) + n * 70L;
    return out + (n + 133) * 4L;  // "GO" CR LF
}

// The compare: T read commands out, a data line back for each.
long CompareCharacters() {
    const int n = InputChannelCount();
    long chars = 0;
    for (int k = 1; k <= ReadBackStepCount(n); ++k) {
        const std::string command = ReadBackCommand(k, n);
        chars += static_cast<long>(command.size());
        switch (ReadBackRequest(k, n)->item) {
            case DataLine::kSeqPattern:
                chars += 5 + 2 * n + 2;
                break;
            case DataLine::kMemoryPattern:
                chars += 4 + 96 + 2;
                break;
            case DataLine::kTitle:
                chars += 70;
                break;
            case DataLine::kOutputs:
                chars += 2 + 96 + 2;
                break;
            case DataLine::kCurMemory:
                chars += 7;
                break;
            case DataLine::kDateFormat:
                chars += 6;
                break;
            case DataLine::kOutTitleDisp:
            case DataLine::kOutCalendarDisp:
                chars += 3 + 32 + 2;
                break;
            default:
                chars += 3 + n + 2;
                break;
        }
    }
    return chars;
}

double Run(CBatchRunDlg& dlg, int startId) {
    QElapsedTimer timer;
    timer.start();
    dlg.Button(startId)->click();
    while (dlg.CycleRunning()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return timer.elapsed() / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int baud = argc > 1 ? std::atoi(argv[1]) : 9600;
    QTemporaryDir dir;
    CNoteSink sink;
    SetMessageSink(&sink);
    CSwitcherServer server({}, {.nBaud = baud});
    if (baud < 300 || !dir.isValid() || !server.Start()) {
        std::fprintf(stderr, "usage: qelvar_run_timing [BAUD]; cannot start: %s\n",
                     server.Error().c_str());
        return 1;
    }
    Link().SetProfilePath(dir.filePath("Qelvar.ini").toStdString());
    Link().SetCommPortOverride(server.DevicePath());
    CMainFrame frame;
    const double perChar = kBitsPerCharacter / static_cast<double>(baud);
    std::printf("%d baud, %d inputs\n", baud, InputChannelCount());
    for (bool paced : {false, true}) {
        Link().SetReplyPaced(paced);
        const char* pace = paced ? "replies" : "timer";
        CAllItemsDlg all(&frame);
        const double wire = AllItemsCharacters() * perChar;
        const double seconds = Run(all, IDC_ALL_START);
        std::printf("all-items, %-7s: %6.2f s  (wire %.2f s, %.2fx)\n", pace, seconds, wire,
                    seconds / wire);
        CSettingsCompareDlg compare(&frame);
        const double cwire = CompareCharacters() * perChar;
        const double cseconds = Run(compare, IDC_COMPARE_START);
        std::printf("compare,   %-7s: %6.2f s  (wire %.2f s, %.2fx)\n", pace, cseconds, cwire,
                    cseconds / cwire);
        std::fflush(stdout);
    }
    frame.ShutdownLink();
    SetMessageSink(nullptr);
    return 0;
}
