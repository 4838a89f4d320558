#include "dialog_kit/qt_message_sink.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "dialog_kit/caption_fit.h"

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

// A box only Yes or No ends: Esc and the close box would otherwise answer No,
// and No can mean "save over the file" (the exit question).
class CYesNoBox : public QMessageBox {
public:
    CYesNoBox(const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::Question, BoxCaption(BoxKind::kQuestion), text,
                      QMessageBox::Yes | QMessageBox::No, owner) {
        setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
        // After the modality, which gives the window its default hints again;
        // without the customize hint X11 window managers draw every button.
        setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) &
                       ~(Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void reject() override {}
};

}  // namespace

void KeepCaptionVisible(QMessageBox& box) {
    // QMessageBox sizes itself to its text; a spacer across its grid widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(CaptionWidth(box.windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

QWidget* CQtMessageSink::Owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (g_hMsgOwner && g_hMsgOwner->isVisible()) return g_hMsgOwner;
    return m_mainWindow;
}

void CQtMessageSink::ShowBox(BoxKind kind, const std::string& text) {
    QApplication::beep();
    // Set-up boxes come before the main window exists and have no owner.
    QWidget* owner = kind == BoxKind::kSetupError ? nullptr : Owner();
    QMessageBox box(IconOf(kind), BoxCaption(kind), QString::fromStdString(text), QMessageBox::Ok,
                    owner);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    KeepCaptionVisible(box);
    box.exec();
}

bool CQtMessageSink::AskYesNo(const std::string& text) {
    CYesNoBox box(QString::fromStdString(text), Owner());
    KeepCaptionVisible(box);
    return box.exec() == QMessageBox::Yes;
}

// Cancel is the default and Esc's: going on is what needs a deliberate click.
bool CQtMessageSink::AskGoOn(const std::string& text, const std::string& goOn,
                             const std::string& cancel) {
    QWidget* owner = Owner();
    QMessageBox box(QMessageBox::Warning, BoxCaption(BoxKind::kQuestion),
                    QString::fromStdString(text), QMessageBox::NoButton, owner);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    QAbstractButton* goOnButton =
        box.addButton(QString::fromStdString(goOn), QMessageBox::AcceptRole);
    QPushButton* cancelButton =
        box.addButton(QString::fromStdString(cancel), QMessageBox::RejectRole);
    box.setDefaultButton(cancelButton);
    box.setEscapeButton(cancelButton);
    KeepCaptionVisible(box);
    box.exec();
    return box.clickedButton() == goOnButton;
}
