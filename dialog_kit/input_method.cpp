#include "dialog_kit/input_method.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <memory>

namespace {

constexpr char kService[] = "org.fcitx.Fcitx5";
constexpr char kPath[] = "/controller";
constexpr char kInterface[] = "org.fcitx.Fcitx.Controller1";
constexpr int kStateActive = 2;

}  // namespace

bool CFcitx5InputMethod::Available() {
    // No session bus announced (a console, CI): do not start one just to ask.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    return bus.interface()->isServiceRegistered(kService).value();
}

bool CFcitx5InputMethod::IsOpen() {
    QDBusInterface controller(kService, kPath, kInterface, QDBusConnection::sessionBus());
    const QDBusReply<int> state = controller.call("State");
    return state.isValid() && state.value() == kStateActive;
}

void CFcitx5InputMethod::SetOpen(bool bOpen) {
    QDBusInterface controller(kService, kPath, kInterface, QDBusConnection::sessionBus());
    controller.call(bOpen ? "Activate" : "Deactivate");
}

CInputMethod& SystemInputMethod() {
    static const std::unique_ptr<CInputMethod> s_pInputMethod =
        CFcitx5InputMethod::Available()
            ? std::unique_ptr<CInputMethod>(std::make_unique<CFcitx5InputMethod>())
            : std::make_unique<CRememberedInputMethod>();
    return *s_pInputMethod;
}
