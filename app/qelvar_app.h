// The application: one instance per desktop, the user's locale, the fonts the
// dialogs ask for, the message boxes, and the main window.
#pragma once

#include <QApplication>
#include <memory>
#include <optional>
#include <string>

#include "app/instance_lock.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/running_instance.h"
#include "dialog_kit/qt_message_sink.h"

struct CAppOptions {
    CStartOptions start;
    std::string strProfile;
    std::string strSettingsFile;  // loaded at start as File > Open loads it
    std::string strScreenshot;    // save a picture of the main window there, then quit
    std::string strError;         // a usage error
};

// The program's options, Qt's own already taken out by QApplication.
CAppOptions ParseAppOptions(const QStringList& args);

// "--help" or "--version" anywhere among the arguments: prints the usage or
// the version on stdout and gives the exit status 0. Needs no QApplication, so
// it works where no display is.
std::optional<int> AnswerInfoOptions(int argc, char** argv);

// Maps the fonts the dialogs ask for to the IPA fonts that share their metrics.
void InstallFontSubstitutions();

class CQelvarApp {
public:
    CQelvarApp() = default;
    ~CQelvarApp();

    // The program from its arguments to its exit status: the single-instance
    // check first (whatever the arguments), then the options, then the window
    // and the event loop.
    int Run(const QStringList& args);
    // False when another instance runs: that one is called to the front and
    // "既に起動しています。" is shown.
    bool CheckSingleInstance();
    // False when the program is to end at once (another instance runs).
    bool InitInstance(const CAppOptions& options, std::unique_ptr<CFileDialogs> dialogs = {});
    // Releases the single-instance lock.
    int ExitInstance(int status);

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // Tests: the boxes go to this sink instead of Qt message boxes.
    void UseMessageSink(CMessageSink* sink) { m_pSinkOverride = sink; }

private:
    void InstallSink(QWidget* mainWindow);

    CInstanceLock m_hMutex;
    CRunningInstance m_runningInstance;
    CQtTranslations m_translations;
    std::unique_ptr<CQtMessageSink> m_pSink;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    CMessageSink* m_pSinkOverride = nullptr;
};
