#include "app/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>

QPointer<QWidget> g_hMsgOwner;

namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::kSetupError:
        case BoxKind::kReplyError:
            return QMessageBox::Critical;
        case BoxKind::kWarning:
            return QMessageBox::Warning;
        case BoxKind::kQuestion:
            return QMessageBox::Question;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QWidget* CQtMessageSink::Owner() const {
    if (g_hMsgOwner && g_hMsgOwner->isVisible()) return g_hMsgOwner;
    return m_mainWindow;
}

void CQtMessageSink::ShowBox(BoxKind kind, const std::string& text) {
    QApplication::beep();
    // Set-up boxes come before the main window exists and have no owner.
    QWidget* owner = kind == BoxKind::kSetupError ? nullptr : Owner();
    QMessageBox box(IconOf(kind), BoxCaption(kind), QString::fromStdString(text), QMessageBox::Ok,
                    owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool CQtMessageSink::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, BoxCaption(BoxKind::kQuestion),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, Owner());
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}
