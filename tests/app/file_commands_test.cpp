#include <QStatusBar>
#include <cstring>
#include <filesystem>

#include "app/qelvar_app.h"
#include "dialog_kit/editor_caption.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

class FileCommandsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteProfile("com_port=0");
        MakeFrame();
    }
    std::vector<std::string> Questions() const {
        std::vector<std::string> texts;
        for (const auto& box : sink.boxes) {
            if (box.kind == BoxKind::kQuestion) texts.push_back(box.text);
        }
        return texts;
    }
    const std::string kNewQuestion = "データを保存せずに新規作成しますか？";
    const std::string kOpenQuestion = "データを保存せずに別のファイルを開きますか？";
    const std::string kExitQuestion = "データを保存せずに終了しますか？";
};

TEST_F(FileCommandsTest, NewAsksOnlyWithUnsavedChanges) {
    g_nSeqTime[0][0] = 9;
    frame->OnCommand(ID_FILE_NEW_SETTINGS);  // unmodified: no question
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_EQ(frame->statusBar()->currentMessage().trimmed(), "File Name");

    g_nSeqTime[0][0] = 9;
    g_bModified = 1;
    g_nModel = 1;
    frame->OnCommand(ID_FILE_NEW_SETTINGS);  // No
    EXPECT_EQ(Questions(), std::vector<std::string>{kNewQuestion});
    EXPECT_EQ(g_nSeqTime[0][0], 9);
    sink.answers = {true};
    frame->OnCommand(ID_FILE_NEW_SETTINGS);  // Yes
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_EQ(g_nModel, 1);  // New keeps the model
}

TEST_F(FileCommandsTest, OpenAsksThenLoadsAndKeepsTheNameEvenWhenItFails) {
    g_nSeqTime[2][2] = 44;
    const std::string path = dir.File("a.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    g_nSeqTime[2][2] = 5;
    g_bModified = 1;

    dialogs->openResult = path;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);  // No: nothing happens
    EXPECT_EQ(dialogs->nOpenCalls, 0);
    sink.answers = {true};
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(Questions(), (std::vector<std::string>{kOpenQuestion, kOpenQuestion}));
    EXPECT_EQ(g_nSeqTime[2][2], 44);
    EXPECT_EQ(g_strFileName, path);
    EXPECT_EQ(g_bModified, 0);

    dialogs->openResult.reset();  // cancelled
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(g_strFileName, path);

    dialogs->openResult = dir.File("missing.dat");
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(sink.boxes.back(),
              (RecordedBox{BoxKind::kWarning, "Can't file open\n" + dir.File("missing.dat") + ": " +
                                                  std::strerror(ENOENT)}));
    EXPECT_EQ(g_strFileName, dir.File("missing.dat"));
}

// A file the reader refuses leaves the data in memory with its own file: the
// name and the captions stay, so Save cannot write that data over the refused file.
TEST_F(FileCommandsTest, ARefusedFileKeepsThePreviousName) {
    g_nSeqTime[0][0] = 21;
    const std::string good = dir.File("good.dat");
    ASSERT_TRUE(SaveSettingsFile(good));
    dialogs->openResult = good;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    ASSERT_EQ(g_strFileName, good);

    std::string text = ReadFileText(good);
    const std::string bad = dir.File("bad.dat");
    WriteFileText(bad, text.replace(text.find("\r\n21\r\n"), 6, "\r\n61\r\n"));
    g_nSeqTime[0][0] = 22;
    g_bModified = 1;
    sink.answers = {true};
    dialogs->openResult = bad;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(sink.boxes.back(), (RecordedBox{BoxKind::kWarning, "Can't file read (line 257)"}));
    EXPECT_EQ(g_strFileName, good);
    EXPECT_EQ(EditorCaption("タイトル設定 File Name "),
              QString::fromStdString("タイトル設定 File Name " + good));
    EXPECT_EQ(g_nSeqTime[0][0], 22);
    EXPECT_EQ(g_bModified, 1);

    frame->OnCommand(ID_FILE_SAVE_SETTINGS);  // goes to the data's own file
    EXPECT_EQ(ReadFileText(bad), text);
    EXPECT_NE(ReadFileText(good).find("\r\n22\r\n"), std::string::npos);
}

// A file cut short loads, says where it ended, takes its name, and counts as
// changed: the exit question then protects what memory filled in.
TEST_F(FileCommandsTest, ACutShortFileLoadsWithAWarningAndCountsAsChanged) {
    g_nSeqTime[0][0] = 21;
    const std::string path = dir.File("cut.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    std::string text = ReadFileText(path);
    size_t end = 0;
    for (int line = 0; line < 257; ++line) end = text.find("\r\n", end) + 2;
    WriteFileText(path, text.substr(0, end));  // up to the first sequence time
    g_nSeqTime[0][0] = 3;
    g_nSeqTime[0][1] = 44;

    dialogs->openResult = path;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    const std::string warning =
        "The file ends at line 257 of 6498; the rest keeps the values in memory";
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, warning}}));
    EXPECT_EQ(frame->CommLog().Entries().back().line, warning);
    EXPECT_EQ(g_nSeqTime[0][0], 21);
    EXPECT_EQ(g_nSeqTime[0][1], 44);
    EXPECT_EQ(g_strFileName, path);
    EXPECT_EQ(EditorCaption("タイトル設定 File Name "),
              QString::fromStdString("タイトル設定 File Name " + path));
    EXPECT_EQ(g_bModified, 1);

    sink.answers = {true};
    frame->OnCommand(ID_APP_EXIT);
    EXPECT_EQ(Questions(), std::vector<std::string>{kExitQuestion});
    EXPECT_TRUE(frame->IsLinkShutDown());
}

TEST_F(FileCommandsTest, SaveNeedsANameAndSaveAsGivesOne) {
    g_bModified = 1;
    frame->OnCommand(ID_FILE_SAVE_SETTINGS);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, "Can't file open"}}));
    EXPECT_EQ(g_bModified, 1);

    dialogs->saveResult.reset();
    frame->OnCommand(ID_FILE_SAVE_SETTINGS_AS);  // cancelled
    EXPECT_EQ(g_strFileName, "");

    EXPECT_EQ(EditorCaption("オート・シーケンス File Name "), "オート・シーケンス File Name ");
    dialogs->saveResult = dir.File("b.dat");
    frame->OnCommand(ID_FILE_SAVE_SETTINGS_AS);
    EXPECT_EQ(g_strFileName, dir.File("b.dat"));
    EXPECT_EQ(EditorCaption("オート・シーケンス File Name "),
              QString::fromStdString("オート・シーケンス File Name " + dir.File("b.dat")));
    EXPECT_EQ(g_bModified, 0);
    EXPECT_FALSE(ReadFileText(dir.File("b.dat")).empty());

    g_nSeqTime[0][0] = 12;
    g_bModified = 1;
    frame->OnCommand(ID_FILE_SAVE_SETTINGS);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_NE(ReadFileText(dir.File("b.dat")).find("\r\n12\r\n"), std::string::npos);
}

// The box says why; the communication log keeps it after the box has gone.
TEST_F(FileCommandsTest, AFailedSaveOrOpenSaysWhyInTheBoxAndTheCommunicationLog) {
    g_bModified = 1;
    const std::string path = dir.File("gone/a.dat");
    const std::string reason = path + ": " + std::strerror(ENOENT);
    dialogs->saveResult = path;
    frame->OnCommand(ID_FILE_SAVE_SETTINGS_AS);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kWarning, "Can't file open\n" + reason}}));
    EXPECT_EQ(g_bModified, 1);
    sink.answers = {true};
    dialogs->openResult = path;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);

    std::vector<std::string> notes;
    for (const auto& entry : frame->CommLog().Entries()) {
        if (entry.direction == CommDirection::kNote) notes.push_back(entry.line);
    }
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(
        std::vector<std::string>(notes.end() - 2, notes.end()),
        (std::vector<std::string>{"Can't file open: " + reason, "Can't file open: " + reason}));
}

TEST_F(FileCommandsTest, NothingHappensWhileACycleRuns) {
    g_bModified = 1;
    g_nSendStep = 5;
    dialogs->openResult = dialogs->saveResult = dir.File("c.dat");
    g_strFileName = dir.File("d.dat");
    for (int id : {ID_FILE_NEW_SETTINGS, ID_FILE_OPEN_SETTINGS, ID_FILE_SAVE_SETTINGS,
                   ID_FILE_SAVE_SETTINGS_AS}) {
        frame->OnCommand(id);
    }
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(dialogs->nOpenCalls + dialogs->nSaveCalls, 0);
    EXPECT_EQ(g_bModified, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("d.dat")));
}

TEST_F(FileCommandsTest, ExitWithoutChangesShutsDownAtOnce) {
    frame->OnCommand(ID_APP_EXIT);
    EXPECT_TRUE(Questions().empty());
    EXPECT_TRUE(frame->IsLinkShutDown());
}

TEST_F(FileCommandsTest, ExitYesShutsDownAndClosingTheWindowAsksToo) {
    g_bModified = 1;
    sink.answers = {true};
    frame->close();
    EXPECT_EQ(Questions(), std::vector<std::string>{kExitQuestion});
    EXPECT_TRUE(frame->IsLinkShutDown());
}

TEST_F(FileCommandsTest, ExitNoSavesInsteadAndStays) {
    g_bModified = 1;
    dialogs->saveResult = dir.File("e.dat");
    frame->OnCommand(ID_APP_EXIT);  // No, no file name yet: Save As
    EXPECT_EQ(dialogs->nSaveCalls, 1);
    EXPECT_FALSE(frame->IsLinkShutDown());
    EXPECT_EQ(g_strFileName, dir.File("e.dat"));
    EXPECT_EQ(g_bModified, 0);

    g_bModified = 1;
    frame->close();  // No again, with a name: Save
    EXPECT_EQ(dialogs->nSaveCalls, 1);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_FALSE(frame->IsLinkShutDown());
}

TEST(AppStartTest, ASecondStartOnlySaysSoAndEnds) {
    CTempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    CInstanceLock first;
    ASSERT_TRUE(first.Acquire());

    CRecordingSink sink;
    ResetProgramState();
    g_nComPort = 4;  // a profile read would change this
    Link().SetProfilePath(runtime.File("never.ini"));
    WriteFileText(runtime.File("never.ini"), "[Qelvar-32_Section]\ncom_port=1\n");
    CQelvarApp app;
    app.UseMessageSink(&sink);
    EXPECT_FALSE(app.InitInstance({}));
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kNotice, "既に起動しています。"}}));
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_EQ(g_nComPort, 4);

    first.Release();  // the first instance ends: a new start works
    CInstanceLock again;
    EXPECT_TRUE(again.Acquire());
    Link().SetProfilePath("");
}

}  // namespace
