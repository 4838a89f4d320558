// qelvarctl titles: a settings file's channel titles to a spreadsheet's CSV
// and back, run as its own process; no switcher is involved.
#include <gtest/gtest.h>

#include <locale.h>
#include <string.h>

#include <cerrno>
#include <filesystem>

#include "model/cp932_text.h"
#include "model/settings_file_format.h"
#include "protocol/fields.h"
#include "tests/cli/run_process.h"
#include "tests/support/system_text.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Sjis(std::string_view utf8) {
    return CCodeConverter("CP932", "UTF-8").Convert(utf8).value_or("?");
}

CSettingsTables TitledTables(int model) {
    CSettingsTables tables = DefaultSettingsTables(model);
    tables.m_nSeqTime[1][2] = 17;
    tables.m_strTitle[0] = Sjis("本社玄関");
    tables.m_strTitle[1] = Sjis("第２スタジオ　副調整室");
    tables.m_strTitle[4] = "AB,\"C\"";  // as an old file may hold it: kept as it is
    tables.m_strTitle[31] = Sjis("～－∥￢");
    return tables;
}

class QelvarctlTitlesTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    CProcessResult Titles(std::vector<std::string> args) {
        args.insert(args.begin(), "titles");
        return RunProcess(QELVARCTL_PATH, args);
    }
    std::string Write(const std::string& name, const std::string& text) {
        WriteFileText(dir.File(name), text);
        return dir.File(name);
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir.File(name)); }

    CTempDir dir;
};

TEST_F(QelvarctlTitlesTest, ExportThenImportGivesTheSettingsFileBackByteForByte) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model);
        const std::string dat = FormatSettingsFile(TitledTables(model));
        const std::string file = Write("site.dat", dat);
        const CProcessResult exported = Titles({"export", file, dir.File("t.csv")});
        ASSERT_EQ(exported.status, 0) << exported.err;
        const std::string csv = ReadFileText(dir.File("t.csv"));
        EXPECT_TRUE(
            csv.starts_with("\xEF\xBB\xBF"
                            "channel,title\r\n01,本社玄関\r\n"));
        EXPECT_NE(csv.find("\r\n05,\"AB,\"\"C\"\"\"\r\n"), std::string::npos);
        EXPECT_TRUE(csv.ends_with(model ? "\r\n64,\r\n" : "\r\n32,～－∥￢\r\n"));

        // Into a fresh copy: nothing changes, the file is left alone.
        const std::string copy = Write("copy.dat", dat);
        CProcessResult imported = Titles({"import", copy, dir.File("t.csv")});
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.out, "0 titles changed\n");
        EXPECT_EQ(ReadFileText(copy), dat);

        // Into the same settings without titles but the odd one: each comes back.
        CSettingsTables bare = TitledTables(model);
        for (int i : {0, 1, 31}) bare.m_strTitle[i] = "";
        const std::string bareFile = Write("bare.dat", FormatSettingsFile(bare));
        imported = Titles({"import", bareFile, dir.File("t.csv"), "--out", dir.File("new.dat")});
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.out, "3 titles changed\n");
        EXPECT_EQ(ReadFileText(dir.File("new.dat")), dat);
        EXPECT_EQ(ReadFileText(bareFile), FormatSettingsFile(bare));  // --out leaves it
    }
}

TEST_F(QelvarctlTitlesTest, RefusedRowsAreToldOneALineAndNothingIsWritten) {
    const std::string dat = FormatSettingsFile(TitledTables(0));
    const std::string file = Write("site.dat", dat);
    const std::string csv = Write("in.csv",
                                  "channel;title\n"
                                  "02;新しい名前\n"
                                  "65;六十五\n"
                                  "03;①\n"
                                  "01;\n");
    CProcessResult run = Titles({"import", file, csv, "--out", dir.File("new.dat")});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err, csv + ": row 3: channel 65 is not one of a 32-input switcher's 01..32\n" +
                           csv +
                           ": row 4: title \"①\" of channel 03: 仕様以外の字が選択されてます\n" +
                           "qelvarctl: nothing written: 2 rows refused (--skip-bad takes the good "
                           "ones)\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(Exists("new.dat"));
    EXPECT_EQ(ReadFileText(file), dat);

    // --skip-bad takes rows 2 and 5, still says what it left out, with status 5.
    run = Titles({"import", file, csv, "--skip-bad", "--out", dir.File("new.dat")});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.out, "2 titles changed\n");
    EXPECT_NE(run.err.find("row 3: channel 65"), std::string::npos);
    CSettingsTables expected = TitledTables(0);
    expected.m_strTitle[1] = Sjis("新しい名前");
    expected.m_strTitle[0] = "";
    EXPECT_EQ(ReadFileText(dir.File("new.dat")), FormatSettingsFile(expected));
    EXPECT_EQ(ReadFileText(file), dat);
    run = Titles({"import", file, csv, "--skip-bad"});  // in place
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(ReadFileText(file), FormatSettingsFile(expected));

    // Without a header there is nothing to take, --skip-bad or not.
    const std::string headless = Write("headless.csv", "01,本社\n");
    run = Titles({"import", file, headless, "--skip-bad", "--out", dir.File("other.dat")});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err, headless +
                           ": row 1: the header must name the columns channel and title, not "
                           "\"01,本社\"\nqelvarctl: nothing written: 1 rows refused\n");
    EXPECT_FALSE(Exists("other.dat"));
}

TEST_F(QelvarctlTitlesTest, SixtyFourRowsFitOnlyA64InputFile) {
    std::string csv = "channel,title\r\n";
    for (int channel = 1; channel <= 64; ++channel) csv += TwoDigits(channel) + ",入力\r\n";
    const std::string in = Write("in.csv", csv);
    const std::string file64 = Write("64.dat", FormatSettingsFile(DefaultSettingsTables(1)));
    CProcessResult run = Titles({"import", file64, in});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "64 titles changed\n");
    CSettingsTables loaded = DefaultSettingsTables(0);
    ASSERT_EQ(ParseSettingsFile(ReadFileText(file64), loaded), 0);
    EXPECT_EQ(loaded.m_strTitle[63], Sjis("入力"));

    const std::string file32 = Write("32.dat", FormatSettingsFile(DefaultSettingsTables(0)));
    run = Titles({"import", file32, in});
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.err.find(in + ": row 34: channel 33 is not one of"), std::string::npos);
    EXPECT_NE(run.err.find(in + ": row 65: channel 64 is not one of"), std::string::npos);
    EXPECT_EQ(ReadFileText(file32), FormatSettingsFile(DefaultSettingsTables(0)));
}

TEST_F(QelvarctlTitlesTest, UsageAndFilesThatCannotBeUsed) {
    const std::string file = Write("site.dat", FormatSettingsFile(TitledTables(0)));
    const std::string csv = Write("in.csv", "channel,title\n01,本社\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"export", file},
                                                 {"copy", file, csv},
                                                 {"export", file, csv, "--skip-bad"},
                                                 {"export", file, csv, "--out", "x.dat"},
                                                 {"import", file, csv, "--all"},
                                                 {"import", file, csv, "--out"}}) {
        const CProcessResult run = Titles(args);
        EXPECT_EQ(run.status, 1) << args.size();
        EXPECT_TRUE(run.err.starts_with("qelvarctl: ")) << run.err;
    }
    CProcessResult run = Titles({"import", dir.File("missing.dat"), csv});
    EXPECT_EQ(run.status, 2);
    run = Titles({"import", file, dir.File("missing.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "qelvarctl: Can't file open: " + dir.File("missing.csv") + ": " +
                           SystemText(ENOENT) + "\n");
    run = Titles({"export", file, dir.File("no/such/folder/t.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(dir.File("no/such/folder/t.csv")), std::string::npos);
    run = Titles({"import", file, csv, "--out", dir.File("no/such/folder/n.dat")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");

    const CProcessResult help = RunProcess(QELVARCTL_PATH, {"titles", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: qelvarctl titles export FILE.dat OUT.csv\n"));
}

}  // namespace
