// The Qt boxes themselves: what ends a Yes/No question, and how wide a box is.
#include <QKeyEvent>
#include <QMessageBox>

#include "dialog_kit/qt_message_sink.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

class QtBoxesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteProfile("com_port=0");
        MakeFrame();
        qtSink = std::make_unique<CQtMessageSink>(frame.get());
        SetMessageSink(qtSink.get());
    }
    void TearDown() override {
        SetMessageSink(&sink);
        qtSink.reset();
        AppTest::TearDown();
    }

    // On the next box: tries Esc, the close box and a reject, notes whether
    // the box survived them, then answers with the button.
    void TryToDismissThenAnswer(QMessageBox::StandardButton answer) {
        WhenModal([this, answer](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            if (!box) return;
            ++questionsSeen;
            bHasCloseButton = box->windowFlags().testFlag(Qt::WindowCloseButtonHint);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
            const bool afterEscape = box->isVisible();
            box->close();
            const bool afterClose = box->isVisible();
            box->reject();
            survivedAll = afterEscape && afterClose && box->isVisible();
            if (QAbstractButton* button = box->button(answer)) button->click();
        });
    }

    std::unique_ptr<CQtMessageSink> qtSink;
    int questionsSeen = 0;
    bool survivedAll = false;
    bool bHasCloseButton = true;
};

TEST_F(QtBoxesTest, OnlyYesOrNoAnswersTheExitQuestion) {
    const std::string path = dir.File("keep.dat");
    g_nSeqTime[0][0] = 7;
    ASSERT_TRUE(SaveSettingsFile(path));
    const std::string saved = ReadFileText(path);
    g_strFileName = path;
    g_nSeqTime[0][0] = 11;
    g_bModified = 1;

    TryToDismissThenAnswer(QMessageBox::Yes);
    frame->OnCommand(ID_APP_EXIT);
    EXPECT_EQ(questionsSeen, 1);
    EXPECT_TRUE(survivedAll);
    EXPECT_FALSE(bHasCloseButton);
    EXPECT_EQ(ReadFileText(path), saved);  // Esc never meant "save instead"
    EXPECT_TRUE(frame->IsLinkShutDown());
}

TEST_F(QtBoxesTest, OnlyYesOrNoAnswersTheNewAndOpenQuestions) {
    g_nSeqTime[0][0] = 11;
    g_bModified = 1;
    TryToDismissThenAnswer(QMessageBox::No);
    frame->OnCommand(ID_FILE_NEW_SETTINGS);
    EXPECT_EQ(questionsSeen, 1);
    EXPECT_TRUE(survivedAll);
    EXPECT_EQ(g_nSeqTime[0][0], 11);  // No keeps the data

    survivedAll = false;
    dialogs->openResult.reset();
    TryToDismissThenAnswer(QMessageBox::Yes);
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(questionsSeen, 2);
    EXPECT_TRUE(survivedAll);
    EXPECT_EQ(dialogs->nOpenCalls, 1);  // Yes goes on to the file dialog
}

TEST_F(QtBoxesTest, TheSuccessBoxLeavesRoomForItsCaptionInATitleBar) {
    int width = 0;
    WhenModal([&width](QDialog& dialog) {
        width = dialog.width();
        dialog.accept();
    });
    ShowSuccess();
    // The caption's own width plus an icon and three title-bar buttons.
    const int needed = QFontMetrics(QApplication::font()).horizontalAdvance("設定完了") + 120;
    EXPECT_GE(width, needed);
}

TEST_F(QtBoxesTest, TheTitlesBoxTakesTheGoodRowsOnlyByItsButton) {
    const std::string csv = dir.File("in.csv");
    WriteFileText(csv, "channel,title\n01,新一\n65,x\n");
    dialogs->titlesOpenResult = csv;
    QStringList labels;
    bool bEscapeCancels = false;
    WhenModal([&](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box) return;
        for (QAbstractButton* button : box->buttons()) labels << button->text();
        bEscapeCancels = box->escapeButton() == box->defaultButton();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    g_strTitle[0] = "";
    frame->OnCommand(ID_FILE_IMPORT_TITLES);
    EXPECT_EQ(labels, (QStringList{"正しい行だけ読み込む", "キャンセル"}));
    EXPECT_TRUE(bEscapeCancels);
    EXPECT_EQ(g_strTitle[0], "");  // Esc cancelled

    WhenModal([&](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box) return;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == "正しい行だけ読み込む") button->click();
        }
    });
    frame->OnCommand(ID_FILE_IMPORT_TITLES);
    EXPECT_FALSE(g_strTitle[0].empty());
    EXPECT_EQ(g_bModified, 1);
}

}  // namespace
