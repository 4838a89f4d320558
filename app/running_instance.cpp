#include "app/running_instance.h"

#include <QApplication>
#include <QLocalSocket>

#include "app/instance_lock.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;

}  // namespace

QString CRunningInstance::SocketPath() {
    QString path = QString::fromStdString(CInstanceLock::LockPath());
    path.chop(QStringLiteral(".lock").size());
    return path + ".socket";
}

bool CRunningInstance::Listen(QWidget* window) {
    m_window = window;
    // Only the holder of the instance lock gets here: a socket left by a
    // program that crashed is stale.
    QLocalServer::removeServer(SocketPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] { OnCall(); });
    return m_server.listen(SocketPath());
}

void CRunningInstance::OnCall() {
    while (QLocalSocket* caller = m_server.nextPendingConnection()) {
        caller->disconnectFromServer();
        caller->deleteLater();
    }
    if (m_window) BringToFront(m_window);
}

bool CRunningInstance::CallForward() {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
}

void BringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}
