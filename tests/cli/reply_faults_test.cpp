// Only a real answer counts: qelvarctl against stand-ins that echo what they
// hear, answer junk, or answer late, directly on a pseudo-terminal and through
// ser2net behind a proxy that slows every byte down.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "model/file_io.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/delay_proxy.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/stand_in.h"
#include "tests/support/temp_dir.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What a 32-input switcher answers, the title-position read after askDelayMs
// and the index-th line (0-based, the model question being line 0) with E3.
CStandIn::Responder SlowModelAnswer(int askDelayMs, int errorIndex, int eachDelayMs = 0) {
    return [=](const std::string& line, int index) -> std::optional<CStandIn::CReply> {
        if (line == "RCPI\r\n")
            return CStandIn::CReply{"CPI" + std::string(32, 'B') + "\r\n", askDelayMs};
        return CStandIn::CReply{index == errorIndex ? "E3\r\n" : "GO\r\n", eachDelayMs};
    };
}

int CountStarting(const std::vector<std::string>& lines, const std::string& tag) {
    int n = 0;
    for (const auto& line : lines) n += line.rfind(tag, 0) == 0;
    return n;
}

class ReplyFaultsTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    std::string DefaultsFile() {
        g_nModel = 0;
        ResetModelDefaults();
        const std::string path = dir.File("in.dat");
        EXPECT_EQ(WriteFileAtomically(path, FormatSettingsFile(g_settings)), WriteResult::kOk);
        return path;
    }
    CProcessResult Ctl(const std::string& port, std::vector<std::string> args,
                       const std::string& interface = "--rs232") {
        std::vector<std::string> all{"--port", port};
        if (interface == "--rs232") {
            all.push_back("--rs232");
        } else {
            all.insert(all.end(), {"--rs485", interface});
        }
        all.insert(all.end(), args.begin(), args.end());
        return RunProcess(QELVARCTL_PATH, all);
    }

    CTempDir dir;
};

TEST_F(ReplyFaultsTest, AReadWithoutReadableAnswersWritesNoFile) {
    const std::string base = DefaultsFile();
    const std::pair<const char*, CStandIn::Responder> devices[] = {
        {"echo", EchoEachLine()},
        {"HELLO", AnswerEachLine("HELLO")},
        {"empty line", AnswerEachLine("")},
        {"GO", AnswerEachLine("GO")},
    };
    for (const auto& [name, responder] : devices) {
        for (const char* pace : {"ack", "timer"}) {
            SCOPED_TRACE(std::string(name) + ", pace " + pace);
            CStandIn device(responder);
            const std::string out = dir.File("out.dat");
            auto read = Ctl(device.Port(), {"read", out, "--pace", pace, "--interval", "5"});
            EXPECT_EQ(read.status, 4) << read.err;
            EXPECT_FALSE(std::filesystem::exists(out));
            if (std::string(name) == "echo") {
                EXPECT_TRUE(Has(read.err, "the port echoes what it sends")) << read.err;
            } else {
                EXPECT_TRUE(Has(read.err, "no readable answer to RAST01, RAST02")) << read.err;
            }
        }
    }
    // Nor with a base, which would be written back as if read.
    CStandIn junk(AnswerEachLine("HELLO"));
    const std::string out = dir.File("based.dat");
    auto read = Ctl(junk.Port(), {"read", out, "--base", base, "--pace", "ack"});
    EXPECT_EQ(read.status, 4) << read.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ReplyFaultsTest, ASendStopsOnTheFirstReplyThatIsNoAnswer) {
    const std::string file = DefaultsFile();
    const std::pair<const char*, std::string> junk[] = {
        {"HELLO", "HELLO\r\n"},
        {"empty line", "\r\n"},
        {"G NUL O", std::string("G\0O\r\n", 5)},
        {"random bytes", "\x93\xff\x01\x1b]0;x\a\r\n"},
    };
    for (const char* interface : {"--rs232", "05"}) {
        const std::string address = std::string(interface) == "05" ? "05" : "";
        for (const char* pace : {"ack", "timer"}) {
            for (const auto& [name, text] : junk) {
                SCOPED_TRACE(std::string(name) + ", pace " + pace + ", " + interface);
                CStandIn device(AnswerEachLine(address + text.substr(0, text.size() - 2)));
                auto send = Ctl(device.Port(), {"send", file, "--pace", pace, "--interval", "50"},
                                interface);
                EXPECT_EQ(send.status, 3) << send.err;
                EXPECT_TRUE(Has(send.err, "the reply is not one the switcher gives")) << send.err;
                EXPECT_TRUE(Has(send.err, "stopped at step 1 of 165 (pattern 01)")) << send.err;
            }
            SCOPED_TRACE(std::string("echo, pace ") + pace + ", " + interface);
            CStandIn loopBack(EchoEachLine());
            auto send =
                Ctl(loopBack.Port(), {"send", file, "--pace", pace, "--interval", "50"}, interface);
            EXPECT_EQ(send.status, 3) << send.err;
            EXPECT_TRUE(Has(send.err, "the reply is the line just sent: the port echoes"))
                << send.err;
            EXPECT_TRUE(Has(send.err, "stopped at step 1 of 165")) << send.err;
        }
    }
}

// The model question gives up after a second; its answer coming later is its
// own, not the first item's: the error on the third pattern is the third's.
TEST_F(ReplyFaultsTest, ALateAnswerToTheModelQuestionShiftsNoAcknowledgement) {
    const std::string file = DefaultsFile();
    for (int delay : {1100, 2000, 3400}) {
        SCOPED_TRACE("model answer after " + std::to_string(delay) + " ms");
        CStandIn device(SlowModelAnswer(delay, 3));
        auto send = Ctl(device.Port(), {"send", file, "--pace", "ack"});
        EXPECT_EQ(send.status, 3) << send.err;
        EXPECT_TRUE(Has(send.err, "Command Error: stopped at step 3 of 165 (pattern 03)"))
            << send.err;
        EXPECT_EQ(CountStarting(device.Lines(), "AST"), 3);  // nothing after the refused line
    }
}

// Under the timer the lines run ahead of their replies: the step named is the
// one whose line was refused, also the last.
TEST_F(ReplyFaultsTest, UnderTheTimerTheStepNamedIsTheOneTheErrorAnswers) {
    const std::string file = DefaultsFile();
    for (auto [index, step] : {std::pair{10, "step 10 of 165 (pattern 10)"},
                               {165, "step 165 of 165 (title of channel 32)"}}) {
        SCOPED_TRACE(step);
        CStandIn device(SlowModelAnswer(2000, index, 2000));
        auto send = Ctl(device.Port(), {"send", file, "--interval", "20"});
        EXPECT_EQ(send.status, 3) << send.err;
        EXPECT_TRUE(Has(send.err, std::string("Command Error: stopped at ") + step)) << send.err;
    }
}

// A real serial device server, 600 ms each way between it and qelvarctl.
TEST_F(ReplyFaultsTest, ThroughASlowSerialDeviceServerAnErrorIsTheLinesOwn) {
    CFaultOptions faults;
    faults.nErrorAtLine = 4;  // the third pattern, after the model question
    CSwitcherServer switcher(CSwitcherOptions{0, false, 0}, faults);
    ASSERT_TRUE(switcher.Start()) << switcher.Error();
    CSer2net server(switcher.DevicePath());
    CDelayProxy slow(server.RawTcpPort(), 600);
    auto send = Ctl(slow.TcpPort(), {"send", DefaultsFile(), "--pace", "ack"});
    EXPECT_EQ(send.status, 3) << send.err << server.Log();
    EXPECT_TRUE(Has(send.err, "Command Error: stopped at step 3 of 165 (pattern 03)")) << send.err;
    EXPECT_EQ(switcher.LinesReceived(), 4);
}

}  // namespace
