#include "dialog_kit/dialog_placement.h"

#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <QWindow>
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

namespace {

QPoint PointBelow(const QMainWindow& main, const QDialog& dialog) {
    QPoint at = BelowWindow(main);
    // A screen too low for the dialog below the strip gets it as low as it fits.
    if (const QScreen* screen = main.screen()) {
        const QRect room = screen->availableGeometry();
        const int lowest = room.bottom() + 1 - dialog.height() - kTitleBarHeight;
        at.setY(std::max(room.top(), std::min(at.y(), lowest)));
    }
    return at;
}

// Places the dialog again as it is shown, once its caption has sized it: a
// resize after a move makes X11 take the point for the window's own area, so
// the title bar would land on the main window's status bar.
class CPlacer : public QObject {
public:
    CPlacer(QDialog& dialog, QMainWindow& main) : QObject(&dialog), m_dialog(dialog), m_main(main) {
        dialog.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog && event->type() == QEvent::Show) Place();
        return false;
    }
    void Place() {
        const QPoint at = PointBelow(m_main, m_dialog);
        if (QWindow* window = m_dialog.windowHandle()) {
            window->setFramePosition(at);
        } else {
            m_dialog.move(at);
        }
    }

private:
    QDialog& m_dialog;
    QMainWindow& m_main;
};

}  // namespace

void PlaceModalDialog(QDialog& dialog) {
    dialog.setWindowModality(Qt::WindowModal);
    auto* main = qobject_cast<QMainWindow*>(dialog.parentWidget());
    if (!main) return;
    (new CPlacer(dialog, *main))->Place();
}
