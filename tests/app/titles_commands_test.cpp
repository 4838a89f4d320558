// ファイル > チャンネル名の読み込み… / 書き出し… from the main window: what reaches
// the settings in memory, the one box of refused rows and its two answers.
#include "app/titles_commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "editors/titles_csv.h"
#include "link/comm_log.h"
#include "model/cp932_text.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

std::string Sjis(std::string_view utf8) {
    return CCodeConverter("CP932", "UTF-8").Convert(utf8).value_or("?");
}

class TitlesCommandsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteProfile("com_port=0");
        MakeFrame();
        g_strTitle[0] = Sjis("旧一");
        g_strTitle[1] = Sjis("旧二");
        g_bModified = 0;
    }
    void Import(const std::string& csv) {
        WriteFileText(dir.File("in.csv"), csv);
        dialogs->titlesOpenResult = dir.File("in.csv");
        frame->OnCommand(ID_FILE_IMPORT_TITLES);
    }
    bool LogHas(const std::string& note) const {
        for (const auto& entry : frame->CommLog().Entries()) {
            if (entry.direction == CommDirection::kNote && entry.line == note) return true;
        }
        return false;
    }
    const std::string kBadRows =
        "channel,title\n"
        "02,新二\n"
        "65,六十五\n"
        "01,①\n";
};

TEST_F(TitlesCommandsTest, AFileOfGoodRowsIsTakenAndMarksTheSettingsUnsaved) {
    Import(
        "\xEF\xBB\xBF"
        "channel;title\r\n1;新一\r\n03;\r\n");
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(g_strTitle[0], Sjis("新一"));
    EXPECT_EQ(g_strTitle[1], Sjis("旧二"));  // not in the file
    EXPECT_EQ(g_bModified, 1);
    EXPECT_TRUE(LogHas(dir.File("in.csv") + ": 1 titles changed"));

    // The same file again changes nothing, and marks nothing.
    g_bModified = 0;
    Import("channel,title\n01,新一\n");
    EXPECT_EQ(g_bModified, 0);
    dialogs->titlesOpenResult.reset();  // cancelled
    g_strTitle[0] = "";
    frame->OnCommand(ID_FILE_IMPORT_TITLES);
    EXPECT_EQ(g_strTitle[0], "");
}

TEST_F(TitlesCommandsTest, RefusedRowsAreListedInOneBoxAndCancelChangesNothing) {
    Import(kBadRows);  // the recorder answers No: cancel
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0],
              (RecordedBox{BoxKind::kQuestion,
                           "in.csv: 読み込めない行が 2 行あります\n\n"
                           "row 3: channel 65 is not one of a 32-input switcher's 01..32\n"
                           "row 4: title \"①\" of channel 01: 仕様以外の字が選択されてます\n\n"
                           "正しい 1 行だけ読み込みますか？"}));
    EXPECT_EQ(g_strTitle[1], Sjis("旧二"));
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(LogHas(dir.File("in.csv") +
                       ": row 3: channel 65 is not one of a 32-input switcher's 01..32"));
}

TEST_F(TitlesCommandsTest, TheButtonTakesTheGoodRowsOnly) {
    sink.answers = {true};
    Import(kBadRows);
    EXPECT_EQ(g_strTitle[1], Sjis("新二"));
    EXPECT_EQ(g_strTitle[0], Sjis("旧一"));  // its row was refused
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(TitlesCommandsTest, NothingToTakeIsAWarningAndALongListIsCut) {
    Import("01,新一\n");  // no header
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].kind, BoxKind::kWarning);
    EXPECT_EQ(g_strTitle[0], Sjis("旧一"));

    std::string csv = "channel,title\n";
    for (int channel = 1; channel <= 20; ++channel) csv += TwoDigits(channel + 40) + ",x\n";
    sink.boxes.clear();
    Import(csv);  // every row refused: nothing to take, no question
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].kind, BoxKind::kWarning);
    const std::string& text = sink.boxes[0].text;
    EXPECT_NE(text.find("row 13: channel 52"), std::string::npos);
    EXPECT_EQ(text.find("row 14:"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\nほか 8 行（通信ログにすべて）")) << text;
    EXPECT_TRUE(LogHas(dir.File("in.csv") + ": row 21: channel 60 is not one of a 32-input "
                                            "switcher's 01..32"));

    sink.boxes.clear();
    dialogs->titlesOpenResult = dir.File("missing.csv");
    frame->OnCommand(ID_FILE_IMPORT_TITLES);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{
                              {BoxKind::kWarning, "Can't file open\n" + dir.File("missing.csv") +
                                                      ": " + std::strerror(ENOENT)}}));
}

TEST_F(TitlesCommandsTest, ExportWritesTheTitlesInMemoryAndSaysWhyItCannot) {
    g_nModel = 1;
    dialogs->titlesSaveResult = dir.File("out.csv");
    frame->OnCommand(ID_FILE_EXPORT_TITLES);
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(ReadFileText(dir.File("out.csv")), FormatTitlesCsv(g_settings));
    EXPECT_TRUE(ReadFileText(dir.File("out.csv")).ends_with("\r\n64,\r\n"));
    EXPECT_EQ(g_bModified, 0);

    dialogs->titlesSaveResult = dir.File("none/out.csv");
    frame->OnCommand(ID_FILE_EXPORT_TITLES);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].text.starts_with("Can't file open\n" + dir.File("none/out.csv")))
        << sink.boxes[0].text;
}

TEST_F(TitlesCommandsTest, NeitherRunsWhileACycleDoes) {
    g_nSendStep = 3;
    Import("channel,title\n01,新一\n");
    dialogs->titlesSaveResult = dir.File("out.csv");
    frame->OnCommand(ID_FILE_EXPORT_TITLES);
    g_nSendStep = 0;
    EXPECT_EQ(g_strTitle[0], Sjis("旧一"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
    EXPECT_TRUE(sink.boxes.empty());
}

}  // namespace
