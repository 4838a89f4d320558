// The application: one instance per desktop, the user's locale, the fonts the
// dialogs ask for, the message boxes, and the main window.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "app/instance_lock.h"
#include "app/main_frame.h"
#include "app/qt_message_sink.h"

struct CAppOptions {
    CStartOptions start;
    std::string strProfile;
    std::string strScreenshot;  // save a picture of the main window there, then quit
    std::string strError;       // a usage error
};

CAppOptions ParseAppOptions(const QStringList& args);

// Maps the fonts the dialogs ask for to the IPA fonts that share their metrics.
void InstallFontSubstitutions();

class CQelvarApp {
public:
    CQelvarApp() = default;
    ~CQelvarApp();

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
    std::unique_ptr<CQtMessageSink> m_pSink;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    CMessageSink* m_pSinkOverride = nullptr;
};
