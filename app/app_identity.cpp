#include "app/app_identity.h"

#include <QApplication>
#include <QGuiApplication>

QIcon CompiledInIcon() {
    // The pictures live in this static library, which no code references directly.
    Q_INIT_RESOURCE(app_icon);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon ApplicationIcon() {
    return QIcon::fromTheme(kAppId, CompiledInIcon());
}

void InstallAppIdentity() {
    QApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(kAppId);
}
