// The message boxes of the program, as Qt boxes: a beep first, application
// modal, owned by g_hMsgOwner while it names a live window, else by the main
// window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "sink/message_sink.h"

extern QPointer<QWidget> g_hMsgOwner;

class CQtMessageSink : public CMessageSink {
public:
    explicit CQtMessageSink(QWidget* mainWindow) : m_mainWindow(mainWindow) {}
    void ShowBox(BoxKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    QWidget* Owner() const;
    QPointer<QWidget> m_mainWindow;
};
