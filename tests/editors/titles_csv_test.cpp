// The titles of a settings file to and from a spreadsheet's CSV: what is
// written, what is refused and with which row, and that a file comes back
// byte for byte.
#include "editors/titles_csv.h"

#include <gtest/gtest.h>

#include "editors/title_fold.h"
#include "model/cp932_text.h"
#include "model/settings_file_format.h"
#include "protocol/fields.h"

namespace {

std::string Sjis(std::string_view utf8) {
    return CCodeConverter("CP932", "UTF-8").Convert(utf8).value_or("?");
}

struct Refused {
    int nRow;
    TitleRowFault fault;
    bool operator==(const Refused&) const = default;
};

void PrintTo(const Refused& r, std::ostream* os) {
    *os << "row " << r.nRow << " fault " << static_cast<int>(r.fault);
}

std::vector<Refused> RefusedRows(const CTitlesCsv& csv) {
    std::vector<Refused> rows;
    for (const auto& refusal : csv.refusals) rows.push_back({refusal.nRow, refusal.fault});
    return rows;
}

std::string Header() {
    return std::string(kTitlesCsvHeader) + "\r\n";
}

class TitlesCsvTest : public ::testing::Test {
protected:
    CSettingsTables tables32 = DefaultSettingsTables(0);
    CSettingsTables tables64 = DefaultSettingsTables(1);
};

TEST_F(TitlesCsvTest, ExportWritesEveryChannelInUseUnderAHeader) {
    tables32.m_strTitle[0] = Sjis("本社玄関");
    tables32.m_strTitle[2] = "A,B";  // half-width, as an old file may hold it
    tables32.m_strTitle[40] = Sjis("使われない");
    const std::string csv = FormatTitlesCsv(tables32);
    EXPECT_TRUE(
        csv.starts_with("\xEF\xBB\xBF"
                        "channel,title\r\n01,本社玄関\r\n02,\r\n03,\"A,B\"\r\n"));
    EXPECT_TRUE(csv.ends_with("\r\n32,\r\n"));
    EXPECT_EQ(csv.find("使われない"), std::string::npos);
    EXPECT_TRUE(FormatTitlesCsv(tables64).ends_with("\r\n64,\r\n"));
}

// A settings file's text, then the same after exporting its titles and
// importing them into a copy of it.
std::string RoundTrip(const std::string& datText, bool bClearTitles) {
    CSettingsTables loaded = DefaultSettingsTables(0);
    EXPECT_EQ(ParseSettingsFile(datText, loaded), 0);
    const std::string csv = FormatTitlesCsv(loaded);
    CSettingsTables fresh = DefaultSettingsTables(0);
    EXPECT_EQ(ParseSettingsFile(datText, fresh), 0);
    if (bClearTitles) fresh.m_strTitle = {};
    const CTitlesCsv read = ReadTitlesCsv(csv, fresh);
    EXPECT_TRUE(read.AllGood()) << (read.refusals.empty() ? "" : read.refusals[0].strReason);
    ApplyTitleRows(read.rows, fresh);
    return FormatSettingsFile(fresh);
}

TEST_F(TitlesCsvTest, ExportThenImportGivesTheSameFileByteForByte) {
    for (int model : {0, 1}) {
        CSettingsTables tables = DefaultSettingsTables(model);
        tables.m_nSeqTime[4][7] = 0;
        // Titles the editor sends, among them the characters whose UTF-8 forms
        // differ between Shift_JIS tables (～ − ∥ ￢) and a full 16.
        const char* valid[] = {"本社玄関", "～－∥￢＼￥", "第１カメラ　舞台", "ＡＢＣ，”’",
                               "髪鬱あいうえおかきくけこさしすせ"};
        for (int i = 0; i < 5; ++i) tables.m_strTitle[i * 7] = Sjis(valid[i]);
        const std::string dat = FormatSettingsFile(tables);
        EXPECT_EQ(RoundTrip(dat, true), dat) << "model " << model << ", titles through the fold";

        // Titles a file may hold that the fold would change or refuse stay as they are.
        const char* odd[] = {"AB", "A,B", "\"q\"", "ｶﾒﾗ", "あ\x81\x40", "\x87\x40", "\x82"};
        for (int i = 0; i < 7; ++i) tables.m_strTitle[i * 4 + 1] = odd[i];
        const std::string oddDat = FormatSettingsFile(tables);
        EXPECT_EQ(RoundTrip(oddDat, false), oddDat) << "model " << model << ", stored titles";
    }
}

TEST_F(TitlesCsvTest, ImportFoldsAndTakesTitlesChannelsAndColumnsAsSpreadsheetsWriteThem) {
    tables32.m_strTitle[3] = Sjis("古い");
    tables32.m_strTitle[4] = Sjis("残る");
    const std::string csv = std::string("\xEF\xBB\xBF") + "Title ; CHANNEL\n" +
                            "\"cam 1; \"\"A\"\"\";1\n"  // quoted, the separator and quotes inside
                            ";  04 \n"                  // an empty title clears the channel
                            ";\n"                       // a blank row is passed over
                            "\"two\nlines\";7\n";       // refused below, but read as one row
    const CTitlesCsv read = ReadTitlesCsv(csv, tables32);
    EXPECT_TRUE(read.bHeaderRead);
    EXPECT_EQ(RefusedRows(read), (std::vector<Refused>{{5, TitleRowFault::kBadTitle}}));
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].nChannel, 1);
    EXPECT_EQ(read.rows[0].title, FoldTitle("cam 1; \"A\"").title);
    EXPECT_EQ(ShiftJisToUtf8(read.rows[0].title), "ｃａｍ　１；　”Ａ”");
    EXPECT_EQ(read.rows[1].nRow, 3);
    EXPECT_EQ(ApplyTitleRows(read.rows, tables32), 2);
    EXPECT_EQ(tables32.m_strTitle[3], "");
    EXPECT_EQ(tables32.m_strTitle[4], Sjis("残る"));    // not in the file: kept
    EXPECT_EQ(ApplyTitleRows(read.rows, tables32), 0);  // the same again changes nothing
}

TEST_F(TitlesCsvTest, EveryBadRowIsRefusedWithItsRowAndWhy) {
    const std::string csv = Header() +
                            "01,正しい\r\n"                // 2
                            "65,六十五\r\n"                // 3: on any model
                            "33,三十三\r\n"                // 4: on a 32-input file only
                            "01,二度目\r\n"                // 5
                            "02,ABCDEFGHIJKLMNOPQ\r\n"     // 6: 17 characters
                            "03,①\r\n"                     // 7: outside JIS X 0208
                            "04,\x82\xa0\r\n"              // 8: Shift_JIS bytes
                            "05,a,b\r\n"                   // 9
                            "x6,六\r\n"                    // 10
                            ",七\r\n"                      // 11
                            "99999999999999999999,大\r\n"  // 12
                            "08,\"open\r\n09,九\r\n";      // 13: to the end
    const CTitlesCsv read = ReadTitlesCsv(csv, tables32);
    EXPECT_EQ(RefusedRows(read), (std::vector<Refused>{{3, TitleRowFault::kUnknownChannel},
                                                       {4, TitleRowFault::kUnknownChannel},
                                                       {5, TitleRowFault::kDuplicate},
                                                       {6, TitleRowFault::kBadTitle},
                                                       {7, TitleRowFault::kBadTitle},
                                                       {8, TitleRowFault::kNotUtf8},
                                                       {9, TitleRowFault::kColumns},
                                                       {10, TitleRowFault::kBadChannel},
                                                       {11, TitleRowFault::kBadChannel},
                                                       {12, TitleRowFault::kUnknownChannel},
                                                       {13, TitleRowFault::kUnclosedQuote}}));
    EXPECT_FALSE(read.AllGood());
    ASSERT_EQ(read.rows.size(), 1u);  // row 2 alone is good
    EXPECT_EQ(read.rows[0].nRow, 2);

    std::vector<std::string> lines;
    for (const auto& refusal : read.refusals) lines.push_back(TitleRefusalLine(refusal));
    EXPECT_EQ(lines[0], "row 3: channel 65 is not one of a 32-input switcher's 01..32");
    EXPECT_EQ(lines[1], "row 4: channel 33 is not one of a 32-input switcher's 01..32");
    EXPECT_EQ(lines[2], "row 5: channel 01 is on row 2 too");
    EXPECT_EQ(lines[3],
              "row 6: title \"ABCDEFGHIJKLMNOPQ\" of channel 02: 17 characters, more "
              "than a title's 16");
    EXPECT_EQ(lines[4], std::string("row 7: title \"①\" of channel 03: ") +
                            RefusalWarning(SendRefusal::kOutOfSpec));
    EXPECT_EQ(lines[5], "row 8: not UTF-8 text (save the sheet as CSV UTF-8)");
    EXPECT_EQ(lines[6], "row 9: 3 fields, not 2 as the header");
    EXPECT_EQ(lines[7], "row 10: channel \"x6\" is not a number");
    EXPECT_EQ(lines[8], "row 11: no channel number");
    EXPECT_EQ(lines[9],
              "row 12: channel 99999999999999999999 is not one of a 32-input switcher's 01..32");

    // The same file against a 64-input one: 33 is a channel there, 65 is not.
    const CTitlesCsv read64 = ReadTitlesCsv(csv, tables64);
    EXPECT_EQ(read64.refusals.size(), 10u);
    EXPECT_EQ(TitleRefusalLine(read64.refusals[0]),
              "row 3: channel 65 is not one of a 64-input switcher's 01..64");
    EXPECT_EQ(read64.refusals[1].nRow, 5);
}

TEST_F(TitlesCsvTest, AFileOf65RowsFitsA64InputSwitcherAndNotA32) {
    std::string csv = Header();
    for (int channel = 1; channel <= 64; ++channel) {
        csv += TwoDigits(channel) + ",入力" + std::to_string(channel) + "\r\n";
    }
    const CTitlesCsv read64 = ReadTitlesCsv(csv, tables64);
    EXPECT_TRUE(read64.AllGood());
    EXPECT_EQ(ApplyTitleRows(read64.rows, tables64), 64);
    EXPECT_EQ(ShiftJisToUtf8(tables64.m_strTitle[63]), "入力６４");

    const CTitlesCsv read32 = ReadTitlesCsv(csv, tables32);
    ASSERT_EQ(read32.refusals.size(), 32u);
    EXPECT_EQ(read32.refusals.front().nRow, 34);  // channel 33
    EXPECT_EQ(read32.refusals.back().nRow, 65);
    EXPECT_EQ(read32.rows.size(), 32u);  // what --skip-bad would take

    // A 66th row of channel 65 is refused on both.
    const CTitlesCsv read66 = ReadTitlesCsv(csv + "65,余り\r\n", tables64);
    ASSERT_EQ(read66.refusals.size(), 1u);
    EXPECT_EQ(read66.refusals[0].nRow, 66);
    EXPECT_EQ(read66.refusals[0].fault, TitleRowFault::kUnknownChannel);
}

TEST_F(TitlesCsvTest, AFileWithoutItsHeaderGivesNothingToTake) {
    for (const std::string& csv :
         {std::string(""), std::string("\xEF\xBB\xBF"), std::string("01,本社\r\n"),
          std::string("channel,name\n"), std::string("channel\n01\n"),
          std::string("\xFF\xFE"
                      "c\0h",
                      5)}) {
        const CTitlesCsv read = ReadTitlesCsv(csv, tables32);
        EXPECT_FALSE(read.bHeaderRead) << csv;
        EXPECT_TRUE(read.rows.empty());
        ASSERT_EQ(read.refusals.size(), 1u);
        EXPECT_EQ(read.refusals[0].nRow, 1);
    }
    EXPECT_EQ(TitleRefusalLine(ReadTitlesCsv("01,本社\r\n02,支社\r\n", tables32).refusals[0]),
              "row 1: the header must name the columns channel and title, not \"01,本社\"");
    const CTitlesCsv utf16 = ReadTitlesCsv(
        "\xFF\xFE"
        "c",
        tables32);
    EXPECT_EQ(utf16.refusals[0].fault, TitleRowFault::kNotUtf8);
    // Beyond U+10FFFF, a surrogate, an overlong form: none is UTF-8.
    for (const char* bytes : {"\xF4\x90\x80\x80", "\xED\xA0\x80", "\xC0\xAF"}) {
        const CTitlesCsv read = ReadTitlesCsv(Header() + "01," + bytes + "\r\n", tables32);
        ASSERT_EQ(read.refusals.size(), 1u);
        EXPECT_EQ(read.refusals[0].fault, TitleRowFault::kNotUtf8) << bytes;
    }
}

}  // namespace
