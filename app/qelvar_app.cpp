#include "app/qelvar_app.h"

#include <QFileInfo>
#include <QFont>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/app_identity.h"
#include "app/file_commands.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "res/version.h"
#include "sim/switcher_bus.h"
#include "sink/message_sink.h"

namespace {

const char kUsage[] =
    "Usage: qelvar [--simulator [--model 32|64] [--rs485 NN | --switcher NN[:32|64]...]]\n"
    "              [--profile INI] [FILE.dat]\n"
    "       qelvar --help | --version\n";

const char kHelp[] = R"(Usage: qelvar [OPTION...] [FILE.dat]
The control program of a Qelvar video matrix switcher (32 outputs, 32 or 64
inputs) on one serial line: edits the switcher's settings as tables, sends
them, reads them back and keeps them in .dat settings files.

Options:
  FILE.dat          load this settings file at start, as ファイル > 開く does
  --simulator       run on the built-in virtual switcher instead of the serial port
  --model 32|64     the virtual switcher's input count (default: the profile's model)
  --rs485 NN        the virtual switcher on RS-485 with slave address NN (00..31)
  --switcher NN[:32|64]  a virtual switcher at slave address NN with 32 or 64
                    inputs (default --model's) on an RS-485 line; repeat it for
                    several, each with its own settings (with --simulator)
  --profile INI     the profile to use (default: $QELVAR_PROFILE, else
                    $XDG_CONFIG_HOME/Qelvar/Qelvar.ini or ~/.config/Qelvar/Qelvar.ini)
  --screenshot PNG  save a picture of the main window there after start, then quit
  --help            print this text and exit
  --version         print the version and exit

One instance runs per desktop: a second start brings the first to the front.
The profile names the serial port; a user needs to be in the dialout group to
open it.
)";

std::optional<int> ModelArg(const QString& text) {
    if (text == "32") return 0;
    if (text == "64") return 1;
    return std::nullopt;
}

// The --switcher options, with the model --model gives (32 inputs without it).
std::string TakeBus(const std::vector<std::string>& switchers, CStartOptions& start) {
    for (const auto& text : switchers) {
        auto sw = ParseBusSwitcher(text, std::max(start.nSimModel, 0));
        if (!sw) return "--switcher takes NN[:32|64], NN 00..31: " + text;
        start.simBus.push_back(*sw);
    }
    if (!start.simBus.empty() && start.nSimRs485Address >= 0) {
        return "--switcher and --rs485 do not mix";
    }
    return BusConflict(start.simBus);
}

}  // namespace

CAppOptions ParseAppOptions(const QStringList& args) {
    CAppOptions o;
    std::vector<std::string> switchers;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--simulator") {
            o.start.bSimulator = true;
        } else if (arg == "--model" && hasValue && ModelArg(args[i + 1])) {
            o.start.nSimModel = *ModelArg(args[++i]);
        } else if (arg == "--rs485" && hasValue) {
            bool ok = false;
            int address = args[++i].toInt(&ok);
            if (!ok || address < 0 || address > 31) o.strError = "--rs485 takes 00..31";
            o.start.nSimRs485Address = address;
        } else if (arg == "--switcher" && hasValue) {
            switchers.push_back(args[++i].toStdString());
        } else if (arg == "--profile" && hasValue) {
            o.strProfile = args[++i].toStdString();
        } else if (arg == "--screenshot" && hasValue) {
            o.strScreenshot = args[++i].toStdString();
        } else if (arg.startsWith('-')) {
            o.strError = "unknown option " + arg.toStdString();
        } else if (!o.strSettingsFile.empty()) {
            o.strError = "more than one settings file: " + arg.toStdString();
        } else {
            o.strSettingsFile = arg.toStdString();
        }
    }
    if (o.strError.empty()) o.strError = TakeBus(switchers, o.start);
    return o;
}

std::optional<int> AnswerInfoOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("qelvar (Qelvar) %s\n", kQelvarVersion);
            return 0;
        }
    }
    return std::nullopt;
}

void InstallFontSubstitutions() {
    QFont::insertSubstitution("ＭＳ Ｐゴシック", "IPAPGothic");
    QFont::insertSubstitution("ＭＳ ゴシック", "IPAGothic");
}

CQelvarApp::~CQelvarApp() {
    m_pMainFrame.reset();
    SetMessageSink(nullptr);
}

void CQelvarApp::InstallSink(QWidget* mainWindow) {
    m_pSink = std::make_unique<CQtMessageSink>(mainWindow);
    SetMessageSink(m_pSinkOverride ? m_pSinkOverride : m_pSink.get());
}

int CQelvarApp::Run(const QStringList& args) {
    if (!CheckSingleInstance()) return 0;
    const CAppOptions options = ParseAppOptions(args);
    if (!options.strError.empty()) {
        std::fprintf(stderr, "qelvar: %s\n%s", options.strError.c_str(), kUsage);
        return 1;
    }
    if (!InitInstance(options)) return 0;
    if (!options.strScreenshot.empty()) {
        // A picture of the main window once it has been laid out, then quit.
        CMainFrame* frame = m_pMainFrame.get();
        const QString path = QString::fromStdString(options.strScreenshot);
        QTimer::singleShot(1500, frame, [frame, path] {
            frame->grab().save(path);
            frame->ShutdownLink();
        });
    }
    return ExitInstance(QApplication::exec());
}

bool CQelvarApp::CheckSingleInstance() {
    if (m_hMutex.Held()) return true;
    InstallAppIdentity();
    m_translations.Install(QLocale::system());  // the boxes' buttons too
    InstallSink(nullptr);
    if (m_hMutex.Acquire()) return true;
    CRunningInstance::CallForward();
    ShowNotice("既に起動しています。");
    return false;
}

bool CQelvarApp::InitInstance(const CAppOptions& options, std::unique_ptr<CFileDialogs> dialogs) {
    if (!CheckSingleInstance()) return false;
    std::setlocale(LC_ALL, "");  // the clock pane's "%X"
    InstallFontSubstitutions();
    QFont font("ＭＳ Ｐゴシック");
    font.setPointSize(9);
    QApplication::setFont(font);
    if (!options.strProfile.empty()) Link().SetProfilePath(options.strProfile);
    m_pMainFrame = std::make_unique<CMainFrame>(options.start, std::move(dialogs));
    InstallSink(m_pMainFrame.get());
    m_pMainFrame->show();
    m_runningInstance.Listen(m_pMainFrame.get());
    if (!options.strSettingsFile.empty()) {
        // The full path, as the Open dialog gives it, for the editors' captions.
        const QFileInfo file(QString::fromStdString(options.strSettingsFile));
        OpenSettingsFile(file.absoluteFilePath().toStdString(), m_pMainFrame->CommLog());
    }
    return true;
}

int CQelvarApp::ExitInstance(int status) {
    m_hMutex.Release();
    return status;
}
