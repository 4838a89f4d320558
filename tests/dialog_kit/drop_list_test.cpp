#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QScreen>

#include "dialog_kit/dialog_builder.h"
#include "dialogs/auto_sequence_dlg.h"
#include "model/settings_model.h"
#include "res/dialog_template.h"
#include "res/editor_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class DropListTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
    static void Type(QWidget* target, const QString& text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
        }
    }
    CWireCapture wire;  // the program's start-up state
    CRecordingSink sink;
};

// Every list of every dialog opens as a scrolling list of about 20 rows beside
// its box (below it, or above it where the screen ends), never as a menu laid
// over the box, and shows its current entry.
TEST_F(DropListTest, EveryListOpensBesideItsBoxWithTheCurrentEntryInView) {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    int checked = 0;
    for (const CDialogTemplate* t : AllDialogTemplates()) {
        QDialog dialog;
        BuildDialog(dialog, *t);
        dialog.move(screen.topLeft());
        dialog.show();
        for (QComboBox* combo : dialog.findChildren<QComboBox*>()) {
            if (combo->count() < 2) continue;
            SCOPED_TRACE(t->nId * 10000 + combo->objectName().toInt());
            combo->setEnabled(true);
            combo->setCurrentIndex(combo->count() - 1);
            combo->showPopup();
            QAbstractItemView* view = combo->view();
            QWidget* popup = view->window();
            ASSERT_TRUE(popup->isVisible());
            const QRect box(combo->mapToGlobal(QPoint(0, 0)), combo->size());
            const QRect list = popup->geometry();
            EXPECT_FALSE(list.intersects(box.adjusted(0, 2, 0, -2)));
            EXPECT_TRUE(list.top() >= box.bottom() - 1 || list.bottom() <= box.top() + 1);
            const int rowHeight = view->sizeHintForRow(0);
            const int rows = view->viewport()->height() / rowHeight;
            EXPECT_EQ(rows, std::min(combo->count(), 20));
            const QRect current = view->visualRect(view->model()->index(combo->count() - 1, 0));
            EXPECT_TRUE(view->viewport()->rect().contains(current));
            combo->hidePopup();
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

// Typing the start of an entry picks it in a list without an edit field, and
// the pick is a user's pick: its handler runs.
TEST_F(DropListTest, TypingTheStartOfAnEntryPicksIt) {
    CAutoSequenceDlg dlg;
    dlg.show();
    QComboBox* pattern = dlg.Combo(IDC_SEQ_PATTERN);
    ASSERT_FALSE(pattern->isEditable());
    Type(pattern, "12");
    EXPECT_EQ(pattern->currentText(), "12");
    EXPECT_EQ(g_nCurSeqPattern, 11);

    QComboBox* time = dlg.Combo(IDC_SEQ_TIME);
    time->showPopup();
    Type(time->view(), "S");  // in the opened list too
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(time->view(), &enter);
    EXPECT_EQ(time->currentText(), "SKIP");
    EXPECT_EQ(g_nSeqTime[11][0], 0);
    EXPECT_EQ(g_bModified, 1);
}

}  // namespace
