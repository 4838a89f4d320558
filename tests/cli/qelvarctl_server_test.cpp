// qelvarctl over a serial device server and on a port that comes and goes:
// ser2net's raw TCP and RFC 2217 accepters in front of the virtual switcher's
// pseudo-terminal, a server or a device lost in the middle of a run, and
// --wait for a port that is not there yet.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "model/file_io.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/file_tables.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

// Every table away from its defaults, on a 32-input switcher.
CSettingsTables Tables() {
    g_nModel = 0;
    ResetModelDefaults();
    CSettingsTables t = FileTables(g_settings);
    for (int i = 0; i < 32; ++i) {
        t.m_nInTitleDisp[i] = i % 2;
        t.m_nTitlePosition[i] = (i / 3) % 2;
        t.m_nInCalendarDisp[i] = i % 5 != 0;
        t.m_strTitle[i] = i % 2 ? "\x88\x9f\x82\xa0" : "\x8a\xbf\x8e\x9a";  // 亜あ, 漢字
    }
    for (int o = 0; o < kOutputs; ++o) {
        t.m_nOutTitleDisp[o] = o % 3 != 0;
        t.m_nOutCalendarDisp[o] = o % 4 == 0;
    }
    for (int p = 0; p < kPatterns; ++p) {
        for (int c = 0; c < 32; ++c) t.m_nSeqTime[p][c] = (p + 3 * c) % 61;
        for (int o = 0; o < kOutputs; ++o) MemoryRows(t)[p][o] = (p * 5 + o) % 96;
    }
    return t;
}

class QelvarctlPortTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    CProcessResult Ctl(std::vector<std::string> args) {
        if (server) server->WaitIdle();  // the last client's session has ended there too
        return RunProcess(QELVARCTL_PATH, args);
    }
    void StartSwitcher(CFaultOptions faults = {}) {
        switcher = std::make_unique<CSwitcherServer>(CSwitcherOptions{0, false, 0}, faults);
        ASSERT_TRUE(switcher->Start()) << switcher->Error();
    }
    std::string SettingsFile() {
        const std::string path = dir.File("in.dat");
        EXPECT_EQ(WriteFileAtomically(path, FormatSettingsFile(Tables())), WriteResult::kOk);
        return path;
    }

    CTempDir dir;
    std::unique_ptr<CSwitcherServer> switcher;
    std::unique_ptr<CSer2net> server;
};

// Through ser2net: raw TCP (false) or RFC 2217 (true).
class QelvarctlServerTest : public QelvarctlPortTest, public ::testing::WithParamInterface<bool> {
protected:
    void Serve(CFaultOptions faults = {}) {
        StartSwitcher(faults);
        server = std::make_unique<CSer2net>(switcher->DevicePath());
    }
    std::string Port() const { return GetParam() ? server->Rfc2217Port() : server->RawPort(); }
};

TEST_P(QelvarctlServerTest, ASendAndItsReadBackComeThroughByteExact) {
    Serve();
    const std::string in = SettingsFile();
    auto send = Ctl({"--port", Port(), "--rs232", "send", in, "--pace", "ack"});
    ASSERT_EQ(send.status, 0) << send.err << server->Log();
    EXPECT_EQ(FileTables(switcher->State().m_tables), Tables());
    const std::string out = dir.File("out.dat");
    auto read = Ctl({"--port", Port(), "--rs232", "--model", "32", "read", out, "--pace", "ack"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(in));
}

TEST_P(QelvarctlServerTest, AnErrorReplyStopsTheRunAndSilenceGivesStatus4) {
    CFaultOptions faults;
    faults.nErrorAtLine = 21;  // step 20, after the model question
    Serve(faults);
    auto stopped = Ctl({"--port", Port(), "--rs232", "send", SettingsFile(), "--pace", "ack"});
    EXPECT_EQ(stopped.status, 3) << stopped.err;
    EXPECT_NE(stopped.err.find("Command Error: stopped at step 20 of 165"), std::string::npos)
        << stopped.err;

    server.reset();
    faults = {};
    faults.bSilent = true;
    Serve(faults);
    auto line = Ctl({"--port", Port(), "--rs232", "line", "TSDY"});
    EXPECT_EQ(line.status, 4);
    EXPECT_NE(line.err.find("no reply within 3.5 s"), std::string::npos) << line.err;
}

TEST_P(QelvarctlServerTest, AServerGoneInTheMiddleOfASendEndsItWithStatus4) {
    Serve();
    const std::string port = Port();
    const std::string file = SettingsFile();
    CSer2net& s2n = *server;
    std::thread stopper([&s2n] {
        std::this_thread::sleep_for(700ms);
        s2n.Stop();
    });
    auto send =
        RunProcess(QELVARCTL_PATH, {"--port", port, "--rs232", "send", file, "--interval", "20"});
    stopper.join();
    EXPECT_EQ(send.status, 4) << send.err;
    EXPECT_NE(send.err.find("port lost: " + port + " (closed by the server): stopped at step "),
              std::string::npos)
        << send.err;
}

INSTANTIATE_TEST_SUITE_P(Ser2net, QelvarctlServerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Rfc2217" : "RawTcp"; });

TEST_F(QelvarctlPortTest, ADeviceUnpluggedInTheMiddleOfAReadEndsItWithStatus4) {
    StartSwitcher();
    const std::string port = switcher->DevicePath();
    std::thread unplug([this] {
        std::this_thread::sleep_for(500ms);
        switcher.reset();
    });
    const std::string out = dir.File("out.dat");
    auto read = Ctl({"--port", port, "--rs232", "read", out, "--interval", "20"});
    unplug.join();
    EXPECT_EQ(read.status, 4) << read.err;
    EXPECT_NE(read.err.find("port lost: " + port + " ("), std::string::npos) << read.err;
    EXPECT_NE(read.err.find("): stopped at step "), std::string::npos) << read.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(QelvarctlPortTest, WaitGivesAnAbsentPortTimeToAppear) {
    const std::string stable = dir.File("ttyQLV0");
    std::thread plug([&] {
        std::this_thread::sleep_for(700ms);
        StartSwitcher();
        std::filesystem::create_symlink(switcher->DevicePath(), stable);
    });
    auto waited = Ctl({"--port", stable, "--wait", "5", "--rs232", "line", "TSDM"});
    plug.join();
    EXPECT_EQ(waited.status, 0) << waited.err;
    EXPECT_EQ(waited.out, "GO\n");

    const auto started = std::chrono::steady_clock::now();
    auto absent = Ctl({"--port", dir.File("none"), "--wait", "1", "--rs232", "line", "TSDM"});
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_EQ(absent.status, 2);
    EXPECT_NE(absent.err.find("cannot use the port: " + dir.File("none") + ": "), std::string::npos)
        << absent.err;
    EXPECT_NE(absent.err.find("(waited 1 s)"), std::string::npos) << absent.err;

    const std::string nobody = "tcp://127.0.0.1:" + std::to_string(FreeTcpPort());
    auto refused = Ctl({"--port", nobody, "line", "TSDM"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("cannot use the port: " + nobody + ": "), std::string::npos)
        << refused.err;
}

}  // namespace
