// qelvarctl end to end: the tool runs as its own process against a virtual
// switcher on a pseudo-terminal, as an integrator would use it.
#include <gtest/gtest.h>

#include <locale.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "model/file_io.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/file_tables.h"
#include "tests/support/system_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

// Settings with every table away from its defaults (the date format stays at
// 0: the transmission does not carry it).
CSettingsTables ChangedTables(int model) {
    g_nModel = model;
    ResetModelDefaults();
    CSettingsTables t = FileTables(g_settings);
    const int n = 32 * (model + 1);  // channels beyond the model's are not sent
    for (int i = 0; i < n; ++i) {
        t.m_nInTitleDisp[i] = i % 2;
        t.m_nTitlePosition[i] = (i / 3) % 2;
        t.m_nInCalendarDisp[i] = (i % 5) != 0;
    }
    for (int o = 0; o < kOutputs; ++o) {
        t.m_nOutTitleDisp[o] = o % 3 != 0;
        t.m_nOutCalendarDisp[o] = o % 4 == 0;
    }
    for (int p = 0; p < kPatterns; ++p) {
        for (int c = 0; c < n; ++c) t.m_nSeqTime[p][c] = (p + c) % 61;
    }
    for (int m = 0; m < kPatterns; ++m) {
        for (int o = 0; o < kOutputs; ++o) MemoryRows(t)[m][o] = (m * 7 + o) % (n + 64);
    }
    t.m_strTitle[0] = "\x82\xa0\x82\xa2";                  // あい
    t.m_strTitle[1] = "\x8a\xbf\x8e\x9a\x81\x40\x83\x4e";  // 漢字　ク
    t.m_strTitle[n - 1] = std::string(32, '\0');
    for (int k = 0; k < 16; ++k) t.m_strTitle[n - 1].replace(2 * k, 2, "\x88\x9f");  // 亜 x 16
    t.m_nModel = model;
    return t;
}

class QelvarctlTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    CProcessResult Ctl(std::vector<std::string> args, int timeoutMs = 60000) {
        return RunProcess(QELVARCTL_PATH, args, timeoutMs);
    }

    void StartSwitcher(int model, bool rs485 = false, int address = 0, CFaultOptions faults = {}) {
        server = std::make_unique<CSwitcherServer>(CSwitcherOptions{model, rs485, address}, faults);
        ASSERT_TRUE(server->Start()) << server->Error();
    }

    std::string WriteSettings(const CSettingsTables& tables, const std::string& name) {
        std::string path = dir.File(name);
        EXPECT_EQ(WriteFileAtomically(path, FormatSettingsFile(tables)), WriteResult::kOk);
        return path;
    }

    CSettingsTables ReadSettings(const std::string& path) {
        CSettingsTables tables = FileTables(g_settings);
        EXPECT_EQ(ParseSettingsFile(ReadWholeFile(path).value_or(""), tables), 0);
        return tables;
    }

    static int Lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    CTempDir dir;
    std::unique_ptr<CSwitcherServer> server;
};

TEST_F(QelvarctlTest, SendThenReadBringsTheSameSettingsBack32) {
    StartSwitcher(0);
    const CSettingsTables sent = ChangedTables(0);
    std::string in = WriteSettings(sent, "in.dat");
    auto send = Ctl({"--port", server->DevicePath(), "--rs232", "send", in, "--pace", "ack"});
    ASSERT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(FileTables(server->State().m_tables), sent);

    std::string out = dir.File("out.dat");
    auto read = Ctl(
        {"--port", server->DevicePath(), "--rs232", "--model", "32", "read", out, "--pace", "ack"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(ReadSettings(out), sent);
    EXPECT_EQ(read.out.substr(0, 19), "memory=None\noutputs");
    EXPECT_NE(read.out.find("outputs=I01,I02,"), std::string::npos);
}

TEST_F(QelvarctlTest, SendThenReadOnRs485And64InputsOnTheTimer) {
    StartSwitcher(1, true, 5);
    const CSettingsTables sent = ChangedTables(1);
    std::string in = WriteSettings(sent, "in.dat");
    auto send =
        Ctl({"--port", server->DevicePath(), "--rs485", "05", "send", in, "--interval", "15"});
    ASSERT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(FileTables(server->State().m_tables), sent);

    std::string out = dir.File("out.dat");
    auto read = Ctl({"--port", server->DevicePath(), "--rs485", "05", "--model", "64", "read", out,
                     "--interval", "15"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(ReadSettings(out), sent);
}

TEST_F(QelvarctlTest, DiffNamesExactlyWhatTheSwitcherHoldsOtherwise) {
    StartSwitcher(0);
    const CSettingsTables file = ChangedTables(0);
    const std::string in = WriteSettings(file, "in.dat");
    ASSERT_TRUE(server->LoadState(in));
    const std::string port = server->DevicePath();
    auto same = Ctl({"--port", port, "--rs232", "diff", in, "--pace", "timer", "--interval", "5"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");

    CSettingsTables held = file;
    held.m_strTitle[2] = "\x8e\x78\x8e\xd0";  // 支社 where the file has none
    held.m_nSeqTime[4][11] = 0;
    held.m_nPattern[12][6] = 32;
    held.m_nOutCalendarDisp[3] = !file.m_nOutCalendarDisp[3];
    ASSERT_TRUE(server->LoadState(WriteSettings(held, "held.dat")));
    auto diff = Ctl({"--port", port, "--rs232", "diff", in});
    EXPECT_EQ(diff.status, 6) << diff.err;
    EXPECT_EQ(diff.out,
              "auto-sequence pattern 05, input 12: file 15 s, switcher SKIP\n"
              "output 07 of memory 12: file A52, switcher A01\n"
              "calendar display of output 04: file OFF, switcher ON\n"
              "title of input 03: file (none), switcher 支社\n");
    EXPECT_EQ(FileTables(server->State().m_tables), held);  // a read changes nothing

    auto json = Ctl({"--port", port, "--rs232", "diff", in, "--json"});
    EXPECT_EQ(json.status, 6);
    EXPECT_EQ(json.out.substr(0, 37), "{\"equal\": false, \"differences\": [\n  {");
    EXPECT_NE(json.out.find("{\"table\": \"title\", \"input\": 3, \"file\": \"(none)\", "
                            "\"switcher\": \"支社\", \"file_value\": \"\", "
                            "\"switcher_value\": \"8E788ED0\""),
              std::string::npos)
        << json.out;
    EXPECT_EQ(Lines(json.out), 6);
}

TEST_F(QelvarctlTest, SendVerifyNamesTheLineTheSwitcherAcknowledgedButLost) {
    CFaultOptions faults;
    faults.nDropAtLine = 135;  // CA01, the first title, after the model question
    StartSwitcher(0, false, 0, faults);
    const std::string in = WriteSettings(ChangedTables(0), "in.dat");
    auto send =
        Ctl({"--port", server->DevicePath(), "--rs232", "send", in, "--pace", "ack", "--verify"});
    EXPECT_EQ(send.status, 6) << send.err;
    EXPECT_EQ(send.out, "title of input 01: file あい, switcher (none)\n");
    EXPECT_NE(send.err.find("does not hold what was sent"), std::string::npos) << send.err;

    auto again =
        Ctl({"--port", server->DevicePath(), "--rs232", "send", in, "--pace", "ack", "--verify"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(Ctl({"send", in, "--dry-run", "--verify"}).status, 1);
}

TEST_F(QelvarctlTest, DryRunPrintsTheLinesExactlyAsTheyWouldGoOut) {
    CSettingsTables tables = ChangedTables(0);
    auto run = Ctl({"--rs485", "03", "send", WriteSettings(tables, "a.dat"), "--dry-run"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out), 165);
    EXPECT_EQ(run.out.substr(0, 7), "03AST01");
    EXPECT_EQ(run.out.find("\r\n03AST02"), 71u);  // "03", "AST01", 32 times, CR LF
    EXPECT_EQ(run.out.substr(run.out.size() - 72, 6), "03CA32");
    EXPECT_TRUE(run.err.empty()) << run.err;

    tables.m_nSeqTime[4].fill(0);
    tables.m_strTitle[6] = "AB";
    auto refused = Ctl({"--rs232", "send", WriteSettings(tables, "b.dat"), "--dry-run"});
    EXPECT_EQ(refused.status, 5);
    EXPECT_EQ(Lines(refused.out), 163);
    EXPECT_EQ(refused.out.find("AST05"), std::string::npos);
    EXPECT_NE(refused.err.find("pattern 05"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("title of channel 07"), std::string::npos) << refused.err;
}

TEST_F(QelvarctlTest, TheProfileIsReadPastItsCommentsAndAnIgnoredValueIsNamedOnce) {
    WriteFileAtomically(dir.File("profile.ini"),
                        "[Qelvar-32_Section]\n"
                        "com_port=abc\n"
                        "rs_control=1    ; 0 = RS-232C, 1 = RS-485\n");
    auto run = Ctl({"send", WriteSettings(ChangedTables(0), "a.dat"), "--dry-run"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 7), "00AST01");  // RS-485, as the profile says
    EXPECT_EQ(run.err, "qelvarctl: profile " + dir.File("profile.ini") +
                           ": com_port=abc ignored (not a whole number), 0 used\n");
}

TEST_F(QelvarctlTest, AProfileThatCannotBeReadIsSaidOnceWithTheDefaultPort) {
    const std::string profile = dir.File("profile.ini");
    const std::string file = WriteSettings(ChangedTables(0), "a.dat");
    std::filesystem::create_directory(profile);
    const std::string unreadable = "qelvarctl: cannot read the profile " + profile + ": ";
    const std::string defaults = "; using the defaults, the port is COM1's default /dev/ttyS0\n";
    auto dry = Ctl({"send", file, "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out.substr(0, 5), "AST01");  // RS-232C
    EXPECT_EQ(dry.err, unreadable + SystemText(EISDIR) + defaults);

    StartSwitcher(0);
    auto line = Ctl({"--port", server->DevicePath(), "line", "TSDY"});
    EXPECT_EQ(line.status, 0) << line.err;
    EXPECT_EQ(line.err, unreadable + SystemText(EISDIR) + "; using the defaults\n");

    // A file the user may not read, as such a user.
    std::filesystem::remove(profile);
    WriteFileText(profile, "[Qelvar-32_Section]\nrs_control=1\n");
    ASSERT_EQ(::chmod(profile.c_str(), 0), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const auto asUser = RunUnprivileged([&file] {
        const CProcessResult run = RunProcess(QELVARCTL_PATH, {"send", file, "--dry-run"});
        return std::to_string(run.status) + " " + run.out.substr(0, 5) + "\n" + run.err;
    });
    EXPECT_EQ(asUser, "0 AST01\n" + unreadable + SystemText(EACCES) + defaults);
}

TEST_F(QelvarctlTest, AnErrorOnThe70thLineStopsTheRun) {
    CFaultOptions faults;
    faults.nErrorAtLine = 70;
    StartSwitcher(0, false, 0, faults);
    // Without the model check in front, the run's 70th line is the switcher's 70th.
    auto run =
        Ctl({"--port", server->DevicePath(), "--rs232", "send",
             WriteSettings(ChangedTables(0), "a.dat"), "--interval", "40", "--no-model-check"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("Command Error"), std::string::npos) << run.err;
    bool at70 = run.err.find("step 70 of 165") != std::string::npos;
    bool at71 = run.err.find("step 71 of 165") != std::string::npos;
    EXPECT_TRUE(at70 || at71) << run.err;
    EXPECT_LE(server->LinesReceived(), 71);

    std::string out = dir.File("never.dat");
    auto read = Ctl({"--port", server->DevicePath(), "--rs232", "read", out, "--pace", "ack"});
    EXPECT_EQ(read.status, 0) << read.err;  // the fault was on the 70th line only
}

TEST_F(QelvarctlTest, AReadStoppedByAnErrorWritesNoFile) {
    CFaultOptions faults;
    faults.nErrorAtLine = 74;
    faults.errorReply = "MENU";
    StartSwitcher(0, false, 0, faults);
    std::string out = dir.File("out.dat");
    auto read = Ctl({"--port", server->DevicePath(), "--rs232", "read", out, "--pace", "ack",
                     "--no-model-check"});
    EXPECT_EQ(read.status, 3);
    EXPECT_NE(read.err.find("Menu Display"), std::string::npos) << read.err;
    EXPECT_NE(read.err.find("RTP10"), std::string::npos) << read.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(QelvarctlTest, AReadThatCannotBeSavedSaysWhy) {
    StartSwitcher(0);
    const std::string out = dir.File("gone/out.dat");
    auto read = Ctl({"--port", server->DevicePath(), "--rs232", "read", out, "--pace", "ack",
                     "--no-model-check"});
    EXPECT_EQ(read.status, 2);
    EXPECT_EQ(read.err, "qelvarctl: Can't file open: " + out + ": " + SystemText(ENOENT) + "\n");
    EXPECT_EQ(read.out, "");
}

TEST_F(QelvarctlTest, ASilentSwitcherGivesStatus4) {
    CFaultOptions faults;
    faults.bSilent = true;
    StartSwitcher(0, false, 0, faults);
    auto line = Ctl({"--port", server->DevicePath(), "--rs232", "line", "TSDY"});
    EXPECT_EQ(line.status, 4);
    auto ack = Ctl({"--port", server->DevicePath(), "--rs232", "send",
                    WriteSettings(ChangedTables(0), "a.dat"), "--pace", "ack", "--no-model-check"});
    EXPECT_EQ(ack.status, 4);
    EXPECT_NE(ack.err.find("no reply to pattern 01"), std::string::npos) << ack.err;
    EXPECT_EQ(server->LinesReceived(), 2);  // the line, then the first AST only

    // Under the timer the lines run ahead, but not past the reply time of the
    // first: one each 300 ms for 3.5 s, not all 165.
    auto timer =
        Ctl({"--port", server->DevicePath(), "--rs232", "send",
             WriteSettings(ChangedTables(0), "a.dat"), "--pace", "timer", "--no-model-check"});
    EXPECT_EQ(timer.status, 4);
    EXPECT_NE(timer.err.find("qelvarctl: no reply to pattern 01 within 3.5 s"), std::string::npos)
        << timer.err;
    EXPECT_GE(server->LinesReceived(), 2 + 11);
    EXPECT_LE(server->LinesReceived(), 2 + 13);
}

TEST_F(QelvarctlTest, SingleCommandsPrintTheirReplies) {
    StartSwitcher(0);
    const std::string port = server->DevicePath();
    auto go = Ctl({"--port", port, "--rs232", "line", "TSDM"});
    EXPECT_EQ(go.status, 0);
    EXPECT_EQ(go.out, "GO\n");
    auto data = Ctl({"--port", port, "--rs232", "line", "RTSD"});
    EXPECT_EQ(data.out, "TSDM\n");
    auto error = Ctl({"--port", port, "--rs232", "line", "NOPE"});
    EXPECT_EQ(error.status, 3);
    EXPECT_NE(error.err.find("Command Error"), std::string::npos);

    auto clock = Ctl({"--port", port, "--rs232", "clock", "--at", "2009-03-09 07:05:30"});
    EXPECT_EQ(clock.status, 0) << clock.err;
    EXPECT_EQ(server->State().m_clock, (CSwitcherClock{9, 3, 9, 7, 5, 30}));

    auto address = Ctl({"--port", port, "--rs232", "address", "12"});
    EXPECT_EQ(address.status, 0);
    EXPECT_EQ(server->State().m_nAddress, 12);
}

TEST_F(QelvarctlTest, SimWithAnAddressIsAnRs485SwitcherAtThatAddress) {
    CRunningProcess sim(QELVARCTL_PATH, {"sim", "--address", "07"});
    const std::string port = sim.FirstLine();
    ASSERT_FALSE(port.empty());
    auto addressed = Ctl({"--port", port, "--rs485", "07", "line", "TSDM"});
    EXPECT_EQ(addressed.status, 0) << addressed.err;
    EXPECT_EQ(addressed.out, "GO\n");
    auto other = Ctl({"--port", port, "--rs485", "08", "line", "TSDM"});
    EXPECT_EQ(other.status, 4) << "another address gets no answer: " << other.out;
    EXPECT_EQ(sim.Stop(), 0);

    // --rs232 keeps RS-232C; the address is only the one the switcher holds.
    CRunningProcess plain(QELVARCTL_PATH, {"--rs232", "sim", "--address", "07"});
    const std::string plainPort = plain.FirstLine();
    ASSERT_FALSE(plainPort.empty());
    auto unframed = Ctl({"--port", plainPort, "--rs232", "line", "TSDM"});
    EXPECT_EQ(unframed.status, 0) << unframed.err;
    EXPECT_EQ(unframed.out, "GO\n");
}

TEST_F(QelvarctlTest, UsageAndOpenFailures) {
    EXPECT_EQ(Ctl({}).status, 1);
    EXPECT_EQ(Ctl({"frobnicate"}).status, 1);
    EXPECT_EQ(Ctl({"--model", "48", "line", "X"}).status, 1);
    EXPECT_EQ(Ctl({"--rs485", "32", "line", "X"}).status, 1);
    EXPECT_EQ(Ctl({"send"}).status, 1);
    EXPECT_EQ(Ctl({"clock", "--at", "1999-12-31 23:59:59"}).status, 1);
    auto help = Ctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("send FILE.dat"), std::string::npos);
    EXPECT_EQ(Ctl({"send", "--help"}).status, 0);

    auto missingFile = Ctl({"send", dir.File("none.dat"), "--dry-run"});
    EXPECT_EQ(missingFile.status, 2);
    EXPECT_NE(missingFile.err.find("Can't file open"), std::string::npos);
    auto missingPort = Ctl({"--port", "/dev/qelvar-none", "line", "TSDY"});
    EXPECT_EQ(missingPort.status, 2);
    EXPECT_NE(missingPort.err.find("/dev/qelvar-none: " + SystemText(ENOENT)), std::string::npos)
        << missingPort.err;
}

// A device that opens but is no serial port: the first step that failed is
// the reason, taken from the set-up's result, and nothing waits for it.
TEST_F(QelvarctlTest, APortThatCannotBeSetUpNamesItsFirstFailedStep) {
    auto run = Ctl({"--port", "/dev/urandom", "line", "TSDY"}, 10000);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("cannot use the port"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(": Miss! Buffer Set\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Time Out"), std::string::npos) << run.err;
}

// Before, send waited for ever on a FIFO and read a device or a huge file whole.
TEST_F(QelvarctlTest, WhatCannotBeASettingsFileIsRefusedAtOnce) {
    const std::string fifo = dir.File("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string huge = dir.File("huge.dat");
    WriteFileText(huge, "");
    std::filesystem::resize_file(huge, 1024 * 1024 * 1024);  // sparse
    const std::string out = dir.File("out.dat");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"send", fifo, "--dry-run"}, fifo + ": not a regular file"},
        {{"send", "/dev/zero", "--dry-run"}, "/dev/zero: not a regular file"},
        {{"diff", fifo}, fifo + ": not a regular file"},
        {{"read", out, "--base", fifo}, fifo + ": not a regular file"},
        {{"send", huge, "--dry-run"}, huge + ": too large (1073741824 bytes, at most 1048576)"},
    };
    for (const auto& [args, reason] : cases) {
        auto run = Ctl(args, 10000);
        EXPECT_EQ(run.status, 2) << args[0] << " " << args[1];
        EXPECT_EQ(run.err, "qelvarctl: Can't file open: " + reason + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// Each command that reads a file says so when the file ends early.
TEST_F(QelvarctlTest, ACutShortFileIsNamedByEveryCommandThatReadsIt) {
    StartSwitcher(0);
    std::string text = ReadFileText(WriteSettings(ChangedTables(0), "full.dat"));
    text.resize(text.find("\r\n", text.size() - 200) + 2);  // a few titles short
    const std::string cut = dir.File("cut.dat");
    WriteFileText(cut, text);
    const int lines = Lines(text);
    ASSERT_LT(lines, 6498);
    const std::string warning = "qelvarctl: The file ends at line " + std::to_string(lines) +
                                " of 6498; the rest keeps the values in memory\n";
    const std::string port = server->DevicePath();
    const std::vector<std::vector<std::string>> commands = {
        {"--rs232", "send", cut, "--dry-run"},
        {"--port", port, "--rs232", "diff", cut, "--no-model-check"},
        {"--port", port, "--rs232", "read", dir.File("out.dat"), "--base", cut, "--pace", "ack",
         "--no-model-check"},
    };
    for (const auto& args : commands) {
        auto run = Ctl(args);
        EXPECT_EQ(run.err.substr(0, warning.size()), warning) << args[1] << " " << args[2];
    }
}

TEST_F(QelvarctlTest, AClockTimeWithHugeFieldsIsAPlainUsageError) {
    // Numbers far past any calendar once overflowed the date arithmetic (the
    // sanitizer build reports that on stderr) or wrapped into a valid year.
    for (const char* at : {"-2147483000-01-01 00:00:00", "2009--2147483648-01 00:00:00",
                           "2009-03--2147483648 00:00:00", "4294969305-03-09 07:05:30"}) {
        auto clock = Ctl({"--port", "/dev/qelvar-none", "clock", "--at", at});
        EXPECT_EQ(clock.status, 1) << at;
        EXPECT_EQ(clock.err,
                  "qelvarctl: the time must lie in the years 2000..2099, as "
                  "\"YYYY-MM-DD HH:MM:SS\"\n")
            << at;
    }
}

TEST_F(QelvarctlTest, VersionNeedsNoCommandAndOpensNothing) {
    auto version = Ctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              "qelvarctl (Qelvar) " QELVAR_VERSION
              "\n"
              "Copyright (C) 2026 Qelvar project\n"
              "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n");
    EXPECT_EQ(version.err, "");
    auto withPort = Ctl({"--port", "/dev/qelvar-none", "--version", "line", "TSDY"});
    EXPECT_EQ(withPort.status, 0);
    EXPECT_EQ(withPort.out, version.out);
}

}  // namespace
