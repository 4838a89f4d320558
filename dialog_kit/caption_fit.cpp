#include "dialog_kit/caption_fit.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int kTitleBarRoom = 150;
const QString kPathMark = " File Name ";  // an editor's caption text ends so

// An event filter, owned by the dialog, that refits it as it is shown (the
// editors set their caption after the dialog is built).
class CCaptionFitter : public QObject {
public:
    explicit CCaptionFitter(QDialog& dialog)
        : QObject(&dialog), m_dialog(dialog), m_nBaseWidth(dialog.width()) {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog && event->type() == QEvent::Show) Fit();
        return false;
    }

private:
    void Fit() {
        if (m_dialog.windowTitle() != m_shown) m_full = m_dialog.windowTitle();
        const QScreen* screen = m_dialog.screen();
        const int room = screen ? screen->availableGeometry().width() : 1 << 20;
        const int width =
            std::clamp(CaptionWidth(m_full), m_nBaseWidth, std::max(room, m_nBaseWidth));
        if (m_dialog.minimumWidth() == m_dialog.maximumWidth()) {
            m_dialog.setFixedWidth(width);
        } else if (m_dialog.width() < width) {
            m_dialog.resize(width, m_dialog.height());
        }
        m_shown = Shortened(m_full, width);
        m_dialog.setWindowTitle(m_shown);
    }

    // The caption with the middle of its path elided so that it fits width.
    static QString Shortened(const QString& caption, int width) {
        const int mark = caption.indexOf(kPathMark);
        if (mark < 0 || CaptionWidth(caption) <= width) return caption;
        const QString head = caption.left(mark + kPathMark.size());
        const QFontMetrics metrics(QApplication::font());
        const int left = std::max(0, width - CaptionWidth(head));
        return head + metrics.elidedText(caption.mid(head.size()), Qt::ElideMiddle, left);
    }

    QDialog& m_dialog;
    int m_nBaseWidth;
    QString m_full;   // the caption as the dialog set it
    QString m_shown;  // as it was last shown
};

}  // namespace

int CaptionWidth(const QString& caption) {
    return QFontMetrics(QApplication::font()).horizontalAdvance(caption) + kTitleBarRoom;
}

void FitToCaption(QDialog& dialog) {
    new CCaptionFitter(dialog);
}
