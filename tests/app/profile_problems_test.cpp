// A profile the program cannot read or write: a note in the communication log
// at start, and a warning box for each setting the user chose that it cannot
// keep, which holds all the same until the program ends.
#include <QAction>
#include <QPlainTextEdit>
#include <cstring>
#include <filesystem>

#include "app/comm_log_window.h"
#include "app/profile_problems.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/link_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class ProfileProblemsTest : public AppTest {
protected:
    // A folder where the profile should be, the link on the pseudo-terminal.
    void MakeFrameOnAFolder() {
        std::filesystem::create_directory(profile);
        Link().SetCommPortOverride(pty.SlavePath());
        MakeFrame();
    }
    std::vector<std::string> LogNotes() {
        frame->OnCommand(ID_COMM_LOG);
        auto* window = frame->findChild<CCommLogWindow*>();
        std::vector<std::string> notes;
        if (!window) return notes;
        for (const QString& line : window->View()->toPlainText().split('\n')) {
            if (line.contains(" ! プロファイル")) notes.push_back(line.mid(15).toStdString());
        }
        return notes;
    }
    std::string Unreadable() const {
        return "プロファイル " + profile + " を読めません (" + std::strerror(EISDIR) + ")";
    }
    std::string NotKeptBox(const std::string& setting) const {
        return setting + "を保存できません。終了するまで有効です。\n" + Unreadable();
    }
};

TEST_F(ProfileProblemsTest, AtStartTheLogSaysOnceThatTheDefaultsAreInForce) {
    MakeFrameOnAFolder();
    EXPECT_TRUE(sink.boxes.empty());  // nothing was asked of the user yet
    EXPECT_EQ(LogNotes(), (std::vector<std::string>{Unreadable() + "。既定の設定で動作します"}));
}

TEST_F(ProfileProblemsTest, ReplyPacingShownOnButNotKeptRaisesAWarningAndHolds) {
    MakeFrameOnAFolder();
    QAction* paced = frame->Action(ID_REPLY_PACED);
    paced->trigger();
    EXPECT_TRUE(paced->isChecked());
    EXPECT_TRUE(Link().ReplyPaced());
    EXPECT_EQ(
        sink.boxes,
        (std::vector<RecordedBox>{{BoxKind::kWarning, NotKeptBox("「応答を待って送信」の設定")}}));
    EXPECT_TRUE(std::filesystem::is_empty(profile));
    EXPECT_EQ(LogNotes().back(), Unreadable() + ": 「応答を待って送信」の設定は保存されません");
}

TEST_F(ProfileProblemsTest, ConfirmedDialogsThatCannotBeWrittenSaySo) {
    MakeFrameOnAFolder();
    WhenModal([](QDialog& dlg) {
        Choose(dlg, IDC_MODEL, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_MODEL_SELECT);
    EXPECT_EQ(g_nModel, 1);  // in force until the end
    WhenModal([](QDialog& dlg) {
        Choose(dlg, IDC_INTERFACE, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kWarning, NotKeptBox("選択したモデル")},
                                        {BoxKind::kWarning, NotKeptBox("通信の設定")}}));
    EXPECT_TRUE(std::filesystem::is_empty(profile));
}

// With the profile unreadable every COM port shows its default; a device typed
// for the selected one is what the link opens, although it cannot be kept.
TEST_F(ProfileProblemsTest, ADeviceTheProfileCannotKeepIsOpenedAllTheSame) {
    MakeFrameOnAFolder();
    CPtyPair other;
    WhenModal([&other](QDialog& dlg) {
        auto* device = FindControl<QComboBox>(dlg, IDC_PORT_DEVICE);
        EXPECT_EQ(device->currentText().toStdString(), DefaultPortPath(0));
        device->setEditText(QString::fromStdString(other.SlavePath()));
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kWarning, NotKeptBox("通信の設定")}}));
    EXPECT_EQ(Link().State().Port(), other.SlavePath());
    EXPECT_TRUE(Link().State().Connected());

    // Once the profile keeps the next device, the link follows the profile again.
    std::filesystem::remove(profile);
    CPtyPair third;
    sink.boxes.clear();
    WhenModal([&third](QDialog& dlg) {
        auto* device = FindControl<QComboBox>(dlg, IDC_PORT_DEVICE);
        device->setEditText(QString::fromStdString(third.SlavePath()));
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(Link().State().Port(), "COM1 " + third.SlavePath());
    EXPECT_TRUE(Link().State().Connected());
}

TEST(ProfileProblemTextTest, TheDefaultPortIsNamedAndEachNoteComesOnce) {
    CCommLog log;
    CProfileProblems problems(log);
    const CProfileFault unreadable{CProfileFault::Kind::kRead, "/home/操作/Qelvar.ini",
                                   "Permission denied"};
    problems.NotRead(unreadable, true);
    problems.NoteOnce(unreadable, "ファイルダイアログのフォルダー");  // said already
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].line,
              "プロファイル /home/操作/Qelvar.ini を読めません (Permission denied)。"
              "既定の設定で動作します (ポートは COM1 の既定の /dev/ttyS0)");
    log.Clear();

    const CProfileFault readOnly{CProfileFault::Kind::kWrite, "/ro/Qelvar.ini",
                                 "Read-only file system"};
    problems.NoteOnce(readOnly, "ファイルダイアログのフォルダー");
    problems.NoteOnce(readOnly, "ファイルダイアログのフォルダー");
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].line,
              "プロファイル /ro/Qelvar.ini に書き込めません (Read-only file system): "
              "ファイルダイアログのフォルダーは記憶されません");
}

}  // namespace
