// qelvarctl scan and the model check before a run, as their own processes
// against virtual switchers: several on one RS-485 line, or one of the other model.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "model/file_io.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class ScanTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    CProcessResult Ctl(std::vector<std::string> args) {
        return RunProcess(QELVARCTL_PATH, args, 60000);
    }
    void Start(const CSwitcherOptions& options, const CFaultOptions& faults = {}) {
        server = std::make_unique<CSwitcherServer>(options, faults);
        ASSERT_TRUE(server->Start()) << server->Error();
    }
    // A defaults file for the model (0 or 1).
    std::string SettingsFile(int model) {
        g_nModel = model;
        ResetModelDefaults();
        std::string path = dir.File("m" + std::to_string(model) + ".dat");
        EXPECT_EQ(WriteFileAtomically(path, FormatSettingsFile(g_settings)), WriteResult::kOk);
        return path;
    }

    CTempDir dir;
    std::unique_ptr<CSwitcherServer> server;
};

TEST_F(ScanTest, FindsTheSwitchersAt03And17WithTheirModels) {
    CRunningProcess sim(QELVARCTL_PATH, {"sim", "--switcher", "03:32", "--switcher", "17:64"});
    const std::string port = sim.FirstLine();
    ASSERT_FALSE(port.empty());
    auto scan = Ctl({"--port", port, "--rs485", "00", "scan"});
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_EQ(scan.out, "03 Qelvar-32\n17 Qelvar-64\n");
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(ScanTest, SingleAsksOnlyTheAddressGivenAndSaysWhenItIsSilent) {
    Start({.nModel = 1, .bRs485 = true, .nAddress = 17});
    const std::string port = server->DevicePath();
    auto scan = Ctl({"--port", port, "--rs485", "17", "scan", "--single"});
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_EQ(scan.out, "17 Qelvar-64\n");
    EXPECT_EQ(server->LinesReceived(), 1);
    scan = Ctl({"--port", port, "--rs485", "03", "scan", "--single", "--timeout", "200"});
    EXPECT_EQ(scan.status, 4);
    EXPECT_EQ(scan.out, "");
    EXPECT_NE(scan.err.find("address 03 did not answer"), std::string::npos) << scan.err;
    EXPECT_EQ(server->LinesReceived(), 2);
}

TEST_F(ScanTest, AnEmptyBusIsScannedInUnder5Seconds) {
    Start({.bRs485 = true, .nAddress = 3}, {.bSilent = true});
    const auto start = Clock::now();
    auto scan = Ctl({"--port", server->DevicePath(), "--rs485", "00", "scan"});
    const auto took = Clock::now() - start;
    EXPECT_EQ(scan.status, 4);
    EXPECT_EQ(scan.out, "");
    EXPECT_EQ(scan.err, "qelvarctl: no switcher answered on any address 00..31\n");
    EXPECT_EQ(server->LinesReceived(), 32);
    EXPECT_LT(took, 5s);
    EXPECT_GE(took, 32 * 120ms);  // the default time-out, each address in turn
    std::printf("empty bus scan: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));

    const auto shortStart = Clock::now();
    EXPECT_EQ(
        Ctl({"--port", server->DevicePath(), "--rs485", "00", "scan", "--timeout", "20"}).status,
        4);
    EXPECT_LT(Clock::now() - shortStart, 32 * 120ms);
}

TEST_F(ScanTest, OnRs232TheOneSwitcherIsReportedAndOptionsAreChecked) {
    Start({.nModel = 1});
    auto scan = Ctl({"--port", server->DevicePath(), "--rs232", "scan"});
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_EQ(scan.out, "Qelvar-64\n");
    for (const char* bad : {"0", "x", "10001"}) {
        EXPECT_EQ(Ctl({"--port", server->DevicePath(), "scan", "--timeout", bad}).status, 1);
    }
    EXPECT_EQ(Ctl({"--port", server->DevicePath(), "scan", "extra"}).status, 1);
    EXPECT_EQ(server->LinesReceived(), 1);
}

TEST_F(ScanTest, SimRefusesABusItCannotServe) {
    for (std::vector<std::string> args : {
             std::vector<std::string>{"sim", "--switcher", "03", "--switcher", "3:64"},
             {"sim", "--switcher", "03:48"},
             {"--rs232", "sim", "--switcher", "03"},
             {"sim", "--switcher", "03", "--address", "04"},
             {"sim", "--switcher", "03", "--switcher", "04", "--state", dir.File("s.dat")},
         }) {
        auto run = Ctl(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_NE(run.err, "") << args.back();
    }
}

// The warning comes once, on stderr, after the one question and before the run's first line.
TEST_F(ScanTest, SendAndReadWarnWhenTheSwitcherIsTheOtherModel) {
    Start({.nModel = 1, .bRs485 = true, .nAddress = 5});
    const std::string port = server->DevicePath();
    auto send = Ctl(
        {"--port", port, "--rs485", "05", "--verbose", "send", SettingsFile(0), "--interval", "5"});
    const std::string warning = "qelvarctl: warning: the switcher on " + port +
                                " address 05 is a Qelvar-64, but the file says Qelvar-32\n";
    const size_t at = send.err.find(warning);
    ASSERT_NE(at, std::string::npos) << send.err;
    EXPECT_EQ(send.err.find(warning, at + 1), std::string::npos);  // once
    EXPECT_LT(send.err.find("> 05RCPI"), at);
    EXPECT_GT(send.err.find("> 05AST01"), at);
    EXPECT_EQ(send.err.find("> 05AST01"), send.err.find("> 05", send.err.find("> 05RCPI") + 1));

    auto read = Ctl({"--port", port, "--rs485", "05", "read", dir.File("r.dat"), "--pace", "ack"});
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.err.find("is a Qelvar-64, but the profile says Qelvar-32"), std::string::npos)
        << read.err;
    auto forced = Ctl({"--port", port, "--rs485", "05", "--model", "32", "read", dir.File("r.dat"),
                       "--pace", "ack"});
    EXPECT_NE(forced.err.find("but --model says Qelvar-32"), std::string::npos) << forced.err;
}

TEST_F(ScanTest, NoWarningWhenTheModelsAgreeOrTheCheckIsLeftOut) {
    Start({.nModel = 1});
    const std::string port = server->DevicePath();
    auto same = Ctl({"--port", port, "--rs232", "send", SettingsFile(1), "--pace", "ack"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err.find("warning"), std::string::npos) << same.err;
    EXPECT_EQ(server->LinesReceived(), 1 + 165 + 32);  // the question, then the run

    const int before = server->LinesReceived();
    auto unchecked = Ctl({"--port", port, "--rs232", "--verbose", "read", dir.File("r.dat"),
                          "--pace", "ack", "--no-model-check"});
    EXPECT_EQ(unchecked.status, 0) << unchecked.err;
    EXPECT_EQ(unchecked.err.find("warning"), std::string::npos);
    EXPECT_EQ(server->LinesReceived() - before, 168);
}

}  // namespace
