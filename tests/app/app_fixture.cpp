#include "tests/app/app_fixture.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include "dialogs/title_dlg.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"

void Pick(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void ClickAt(QWidget* widget, QPoint at) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void AppTest::SetUp() {
    ResetProgramState();
    Link().Replies().Clear();
    g_nCornerClicks = 0;
    g_bImeWasOpen = 0;
    profile = dir.File("Qelvar.ini");
    Link().SetProfilePath(profile);
    Link().SetCommPortOverride("");
}

void AppTest::TearDown() {
    frame.reset();
    Link().SetProfilePath("");
    Link().SetCommPortOverride("");
    g_nSendStep = 0;
}

void AppTest::WriteProfile(const std::string& section, const std::string& com1) {
    WriteFileText(profile, "[Qelvar-32_Section]\n" + section +
                               "\n[Ports]\nCOM1=" + (com1.empty() ? pty.SlavePath() : com1) + "\n");
}

void AppTest::MakeFrame(const CStartOptions& options) {
    auto stub = std::make_unique<CStubFileDialogs>();
    dialogs = stub.get();
    frame = std::make_unique<CMainFrame>(options, std::move(stub));
}

bool AppTest::ProcessUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void AppTest::WhenModal(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog) act(*dialog);
    });
}

void AppTest::Choose(QDialog& dialog, int comboId, int index) {
    FindControl<QComboBox>(dialog, comboId)->setCurrentIndex(index);
}

void AppTest::Click(QDialog& dialog, int buttonId) {
    FindControl<QPushButton>(dialog, buttonId)->click();
}
