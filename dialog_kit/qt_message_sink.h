// The message boxes of the program, as Qt boxes: a beep first, centred on and
// modal to the window they belong to: the modal dialog (or box) in front while
// there is one, else g_hMsgOwner while it names a shown window, else the main
// window. The communication log stays usable meanwhile.
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
    bool AskGoOn(const std::string& text, const std::string& goOn,
                 const std::string& cancel) override;

private:
    QWidget* Owner() const;
    QPointer<QWidget> m_mainWindow;
};
