// The communication log window ("通信ログ"): every line sent to and received
// from the switcher with its time and direction, newest last. Modeless, so an
// engineer can keep it open beside the editors, and it stays usable while one
// of them is open (it is no transient window of the main window, which the
// dialogs block). It follows the log as lines arrive while its view is at the
// bottom, stays where the user scrolled to otherwise, can clear the log and
// save it to a text file.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "link/comm_log.h"

class QPlainTextEdit;

class CCommLogWindow : public QDialog {
    Q_OBJECT
public:
    // The window follows the log from now on; it never touches the log in its
    // destructor, so either may go first.
    explicit CCommLogWindow(CCommLog& log, QWidget* parent = nullptr);

    void OnClear();
    // Writes the log to the chosen file; a failure shows "Can't file write".
    void OnSave();

    QPlainTextEdit* View() const { return m_pView; }

    // Asks for the file to save to; nothing when cancelled. A save dialog
    // unless replaced (tests do).
    std::function<std::optional<std::string>(QWidget* parent)> m_chooseSavePath;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnLogChanged();
    void RenderAll();
    void AppendFrom(size_t first);
    void FollowIfAtBottom();
    void KeepOutOfModality();

    CCommLog& m_log;
    QPlainTextEdit* m_pView;
    unsigned long long m_nShown = 0;  // the log's TotalAdded() the view has caught up with
    bool m_bFollowing = true;         // the view is at the bottom and stays there
};

// Shows the parent's log window, creating it on first use, and brings it to the front.
void ShowCommLogWindow(CCommLog& log, QWidget* parent);
