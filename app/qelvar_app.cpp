#include "app/qelvar_app.h"

#include <QFont>
#include <clocale>

#include "app/file_commands.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/message_sink.h"

namespace {

std::optional<int> ModelArg(const QString& text) {
    if (text == "32") return 0;
    if (text == "64") return 1;
    return std::nullopt;
}

}  // namespace

CAppOptions ParseAppOptions(const QStringList& args) {
    CAppOptions o;
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
        } else if (arg == "--profile" && hasValue) {
            o.strProfile = args[++i].toStdString();
        } else if (arg == "--screenshot" && hasValue) {
            o.strScreenshot = args[++i].toStdString();
        } else {
            o.strError = "unknown option " + arg.toStdString();
        }
    }
    return o;
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

bool CQelvarApp::InitInstance(const CAppOptions& options, std::unique_ptr<CFileDialogs> dialogs) {
    InstallSink(nullptr);
    if (!m_hMutex.Acquire()) {
        ShowNotice("既に起動しています。");
        return false;
    }
    std::setlocale(LC_ALL, "");  // the clock pane's "%X"
    InstallFontSubstitutions();
    QFont font("ＭＳ Ｐゴシック");
    font.setPointSize(9);
    QApplication::setFont(font);
    if (!options.strProfile.empty()) Link().SetProfilePath(options.strProfile);
    m_pMainFrame = std::make_unique<CMainFrame>(options.start, std::move(dialogs));
    InstallSink(m_pMainFrame.get());
    m_pMainFrame->show();
    return true;
}

int CQelvarApp::ExitInstance(int status) {
    m_hMutex.Release();
    return status;
}
