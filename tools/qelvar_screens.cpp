// qelvar_screens OUTDIR: saves a picture of every dialog template as
// OUTDIR/<id>.png and of the communication log window with a few lines as
// OUTDIR/comm_log.png, so the layouts can be looked at without clicking
// through the program. Each picture carries a caption strip, since a grab
// shows the client area only and the caption is part of what is reviewed.
// The table editors are also shown working, on sample settings with a cell
// marked and the grid focused (OUTDIR/editor_*.png), and one long list opened
// as the screen shows it (OUTDIR/open_list.png; needs an X server). 通信の設定
// is shown after a search of two virtual switchers on one RS-485 line
// (OUTDIR/comm_search.png). The runs: 全項目の設定 after a finished run and
// after one stopped with 中止, and the auto-sequence editor in the middle of its
// All set and once it is stopped (OUTDIR/run_*.png).
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/bus_search.h"
#include "app/comm_dialogs.h"
#include "app/comm_log_window.h"
#include "app/qelvar_app.h"
#include "app/simulator_link.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/input_method.h"
#include "dialogs/all_items_dlg.h"
#include "dialogs/auto_sequence_dlg.h"
#include "dialogs/display_switch_dlg.h"
#include "dialogs/pattern_output_dlg.h"
#include "dialogs/title_dlg.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/dialog_template.h"
#include "res/editor_dialogs.h"
#include "res/link_dialogs.h"
#include "sim/virtual_switcher.h"

namespace {

// The widget as shown, under a strip with its caption in the application font.
QPixmap WithCaption(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
    const QPixmap body = widget.grab();
    const int strip = QFontMetrics(QApplication::font()).height() + 8;
    QPixmap picture(body.width(), body.height() + strip);
    picture.fill(QColor(0, 0, 128));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.setFont(QApplication::font());
    painter.drawText(QRect(6, 0, body.width() - 6, strip), Qt::AlignVCenter, widget.windowTitle());
    painter.drawPixmap(0, strip, body);
    return picture;
}

bool Save(QWidget& widget, const QString& path) {
    const bool ok = WithCaption(widget).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

void AddSampleLines(CCommLog& log) {
    using namespace std::chrono;
    const auto start = system_clock::now();
    const std::pair<CommDirection, std::string> lines[] = {
        {CommDirection::kSent, "AST01" + std::string(64, '0').replace(0, 2, "10") + "\r\n"},
        {CommDirection::kReceived, "GO\r\n"},
        {CommDirection::kSent, "TSDY\r\n"},
        {CommDirection::kReceived, "GO\r\n"},
        {CommDirection::kSent, "RTSD\r\n"},
        {CommDirection::kReceived, "TSDY\r\n"},
        {CommDirection::kSent, "OTP65\r\n"},
        {CommDirection::kReceived, "E3\r\n"},
    };
    int ms = 0;
    for (const auto& [direction, line] : lines) {
        log.Add({start + milliseconds(ms), direction, line});
        ms += direction == CommDirection::kSent ? 38 : 262;
    }
}

// Runs the event loop until pred holds, for at most a second (or timeoutMs).
void WaitFor(const std::function<bool()>& pred, int timeoutMs = 1000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Settings that make every grid show something besides the defaults.
void SampleSettings(int nModel) {
    ResetModelDefaults();
    g_nModel = nModel;
    g_nCurSeqPattern = 2;
    g_nSeqTime[2][2] = 0;
    g_nSeqTime[2][9] = 15;
    g_nCurMemory = 5;
    for (int out = 0; out < kOutputs; ++out) g_nPattern[5][out] = (out * 7) % 96;
    g_strTitle[8] = "\x93\x8C\x8B\x9E\x89\x77";                  // 東京駅
    g_strTitle[9] = "\x90\x56\x91\xE5\x8D\xE3\x81\x60\x82\x51";  // 新大阪～２
    g_strTitle[10] = "\x83\x8D\x83\x72\x81\x5B";                 // ロビー
    for (int i = 0; i < kMaxInputs; i += 3) {
        g_nInTitleDisp[i] = 0;
        g_nTitlePosition[i] = 0;
        g_nInCalendarDisp[i] = 0;
    }
    for (int i = 0; i < kOutputs; i += 4) g_nOutTitleDisp[i] = g_nOutCalendarDisp[i] = 0;
    g_nCurChannel = 9;
    g_nCurOutput = 12;
}

// The editor shown with its current cell marked and its grid focused.
bool SaveEditor(CTableEditorDlg& editor, const QString& path) {
    editor.show();
    editor.activateWindow();
    editor.Table()->setFocus();
    WaitFor([&] { return editor.Table()->hasFocus(); });
    const bool ok = Save(editor, path);
    editor.hide();
    return ok;
}

bool SaveEditors(const QDir& out) {
    CRememberedInputMethod inputMethod;  // the desktop's stays as it is
    bool ok = true;
    for (int model : {0, 1}) {
        SampleSettings(model);
        CAutoSequenceDlg sequence;
        ok =
            SaveEditor(sequence, out.filePath(QString("editor_130_%1.png").arg(32 << model))) && ok;
    }
    SampleSettings(0);
    CPatternOutputDlg output;
    ok = SaveEditor(output, out.filePath("editor_158.png")) && ok;
    CTitleDlg title(nullptr, &inputMethod);
    ok = SaveEditor(title, out.filePath("editor_154.png")) && ok;
    const DisplaySwitch members[] = {DisplaySwitch::kInTitle, DisplaySwitch::kOutTitle,
                                     DisplaySwitch::kTitlePosition, DisplaySwitch::kInCalendar,
                                     DisplaySwitch::kOutCalendar};
    for (DisplaySwitch which : members) {
        CDisplaySwitchDlg display(which);
        ok = SaveEditor(
                 display,
                 out.filePath(QString("editor_display_%1.png").arg(SwitchLineFormat(which).tag))) &&
             ok;
    }
    return ok;
}

// Ticks the run by hand until it has performed `steps` steps, or to its end.
template <class Dialog>
void TickRun(Dialog& dlg, int steps = 1000) {
    dlg.CycleTimer().stop();
    for (int tick = 0; tick < steps && dlg.CycleRunning(); ++tick) dlg.OnCycleTimer();
}

// The runs against a virtual switcher whose answers come through the reply
// queue; pattern 05 is all SKIP, so a finished run names it as not sent.
bool SaveRuns(const QDir& out) {
    SampleSettings(0);
    g_nSeqTime[4].fill(0);
    CVirtualSwitcher switcher(CSwitcherOptions{});
    Link().SetLineTap([&switcher](std::string_view line) {
        if (auto reply = switcher.Answer(line)) Link().Replies().Push(*reply);
    });
    SetMessageSink(nullptr);
    bool ok = true;
    {
        CAllItemsDlg done;
        done.Button(IDC_ALL_START)->click();
        TickRun(done);
        ok = Save(done, out.filePath("run_all_items_done.png")) && ok;
    }
    {
        CAllItemsDlg stopped;
        stopped.Button(IDC_ALL_START)->click();
        TickRun(stopped, 70);
        stopped.Button(IDC_RUN_STOP)->click();
        TickRun(stopped);
        ok = Save(stopped, out.filePath("run_all_items_stopped.png")) && ok;
    }
    {
        CAutoSequenceDlg editor;
        editor.Button(IDC_ALL_SET)->click();
        TickRun(editor, 20);
        ok = Save(editor, out.filePath("run_editor_130.png")) && ok;
        editor.Button(IDC_RUN_STOP)->click();
        TickRun(editor);
        ok = Save(editor, out.filePath("run_editor_130_stopped.png")) && ok;
    }
    Link().SetLineTap({});
    return ok;
}

// The output editor with its longest list opened: a picture of the screen,
// since the opened list is a window of its own.
bool SaveOpenList(const QDir& out) {
    SampleSettings(1);
    g_nPattern[5][12] = 100;  // "A37": far down the list
    CPatternOutputDlg editor;
    editor.show();
    WaitFor([&] { return editor.isActiveWindow(); });
    QComboBox* list = editor.Combo(IDC_OUT_CHANNEL);
    list->showPopup();
    QWidget* popup = list->view()->window();
    WaitFor([&] { return popup->isVisible(); });
    QApplication::processEvents();
    const QRect area = editor.frameGeometry().united(popup->frameGeometry()).adjusted(-8, -8, 8, 8);
    const QPixmap screen = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                     area.width(), area.height());
    list->hidePopup();
    const QString path = out.filePath("open_list.png");
    const bool ok = !screen.isNull() && screen.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// 通信の設定 once 検索 has found the switchers at 03 and 17, 17 picked.
bool SaveCommSearch(const QDir& out) {
    CSimulatorLink simulator(-1, {{.nModel = 0, .bRs485 = true, .nAddress = 3},
                                  {.nModel = 1, .bRs485 = true, .nAddress = 17}});
    if (!simulator.Start(0)) return false;
    StartLink();
    QSocketNotifier replies(Link().Replies().ReadyFd(), QSocketNotifier::Read);
    QObject::connect(&replies, &QSocketNotifier::activated, [] { DispatchReplies(); });
    g_nSlaveAddress = 17;
    bool ok = false;
    {
        CCommSettingsDlg dialog(0, 1, nullptr, &simulator);
        dialog.show();
        FindControl<QPushButton>(dialog, IDC_BUS_SEARCH)->click();
        WaitFor([&] { return !dialog.Search().Running(); }, 6000);
        ok = Save(dialog, out.filePath("comm_search.png"));
        dialog.reject();
    }
    StopLink();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qelvar_screens OUTDIR\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    InstallFontSubstitutions();
    QFont font("ＭＳ Ｐゴシック");  // as the program sets it
    font.setPointSize(9);
    QApplication::setFont(font);

    bool ok = true;
    for (const CDialogTemplate* t : AllDialogTemplates()) {
        QDialog dialog;
        BuildDialog(dialog, *t);
        ok = Save(dialog, out.filePath(QString::number(t->nId) + ".png")) && ok;
    }
    CCommLog log;
    AddSampleLines(log);
    CCommLogWindow window(log);
    ok = Save(window, out.filePath("comm_log.png")) && ok;
    window.hide();
    ok = SaveEditors(out) && ok;
    ok = SaveRuns(out) && ok;
    ok = SaveCommSearch(out) && ok;
    if (QGuiApplication::platformName() == "xcb") ok = SaveOpenList(out) && ok;
    return ok ? 0 : 2;
}
