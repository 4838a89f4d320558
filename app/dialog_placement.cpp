#include "app/dialog_placement.h"

#include <QDialog>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Room a title bar takes above a window's own area, before the window
// manager has said how much it is.
constexpr int kTitleBarHeight = 32;

}  // namespace

// A window manager that has not told the frame's size yet leaves the frame
// geometry without the title bar; the window's own area still ends right.
QPoint BelowWindow(const QWidget& window) {
    const int bottom = std::max(window.frameGeometry().bottom(), window.geometry().bottom());
    return {window.frameGeometry().left(), bottom + 1};
}

void PlaceModalDialog(QDialog& dialog) {
    dialog.setWindowModality(Qt::WindowModal);
    auto* main = qobject_cast<QMainWindow*>(dialog.parentWidget());
    if (!main) return;
    QPoint at = BelowWindow(*main);
    // A screen too low for the dialog below the strip gets it as low as it fits.
    if (const QScreen* screen = main->screen()) {
        const QRect room = screen->availableGeometry();
        const int lowest = room.bottom() + 1 - dialog.height() - kTitleBarHeight;
        at.setY(std::max(room.top(), std::min(at.y(), lowest)));
    }
    dialog.move(at);
}
