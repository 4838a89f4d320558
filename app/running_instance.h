// How a second start reaches the program already running: the running one
// listens on a local socket beside its instance lock, and a second start
// connects to it, which brings the running window to the front.
#pragma once

#include <QLocalServer>
#include <QPointer>
#include <QString>
#include <QWidget>

class CRunningInstance {
public:
    // The running program: from now on a call brings window to the front.
    // False when the socket cannot be made (a second start then only says so).
    bool Listen(QWidget* window);
    // A second start: asks the running program to come forward; false when
    // nobody answers.
    static bool CallForward();
    // Beside the instance lock: $XDG_RUNTIME_DIR/Qelvar_Instance.socket.
    static QString SocketPath();

private:
    void OnCall();

    QLocalServer m_server;
    QPointer<QWidget> m_window;
};

// Restores the window if minimised, raises and activates it, and keeps an
// open modal dialog above it.
void BringToFront(QWidget* window);
