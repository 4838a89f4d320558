// qelvarctl serve against the virtual switcher behind ser2net (whose trace
// shows every byte that reached the switcher's line), with clients of the
// tests' own Videohub client: the opening dump, routes and salvos, labels,
// locks, error replies, the port lost and back, hostile clients, RS-485 units.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <thread>

#include "model/settings_file_format.h"
#include "model/settings_tables.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"
#include "tests/support/videohub_client.h"

namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 5000;
// ROT, then RCA01..RCA32: what a 32-input switcher is asked at start.
constexpr int kReadBackLines = 33;

const std::string kHonsha = "\x96\x7b\x8e\xd0";  // 本社, Shift_JIS

// "OT" and the 32 source codes of a 32-input switcher's row, CR LF.
std::string OtLine(const OutputRow& row) {
    std::string line = "OT";
    for (int code : row) {
        const bool input = code < 32;
        const int number = input ? code + 1 : code - 31;
        line += (input ? "I" : "A") + std::string(number < 10 ? "0" : "") + std::to_string(number);
    }
    return line + "\r\n";
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs = kWaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// Whether the server has closed the connection, seen without reading from it.
bool HungUp(int fd) {
    pollfd pfd{fd, POLLRDHUP, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

class QelvarctlServeTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    void StartSwitcher(CFaultOptions faults = {}, CSwitcherOptions options = {}) {
        switcher = std::make_unique<CSwitcherServer>(options, faults);
        CSwitcherState state = switcher->State();
        state.m_tables.m_strTitle[0] = kHonsha;
        state.m_tables.m_nPattern[kDirectRow][7] = 32 + 4;  // output 8 on A05
        switcher->SetState(state);
        ASSERT_TRUE(switcher->Start()) << switcher->Error();
        ser2net = std::make_unique<CSer2net>(switcher->DevicePath());
    }
    // qelvarctl serve on the raw TCP port, until the test ends.
    void Serve(std::vector<std::string> link = {"--rs232"}, std::vector<std::string> more = {},
               int basePort = 0, std::string port = {}) {
        nPort = basePort ? basePort : FreeTcpPort();
        if (port.empty()) port = ser2net->RawPort();
        std::vector<std::string> args{"--port", port, "--model", "32"};
        args.insert(args.end(), link.begin(), link.end());
        for (const char* arg : {"serve", "--listen", "127.0.0.1"}) args.push_back(arg);
        args.insert(args.end(), {"--videohub", std::to_string(nPort), "--state", StatePath()});
        args.insert(args.end(), more.begin(), more.end());
        serve = std::make_unique<CRunningProcess>(QELVARCTL_PATH, args,
                                                  std::vector<std::string>{"HOME=" + dir.Path()});
        const std::string first = serve->FirstLine();
        ASSERT_NE(first.find("port " + std::to_string(nPort)), std::string::npos) << first;
    }
    std::string StatePath() const { return dir.File("serve.state"); }
    // A client that has had the whole opening dump with the device present.
    std::unique_ptr<CVideohubClient> Client(int port = 0) {
        auto client = std::make_unique<CVideohubClient>("127.0.0.1", port ? port : nPort, kWaitMs);
        EXPECT_TRUE(client->Connected()) << client->Error();
        // Present once the read-back has been answered; a client that came
        // earlier is told when it is.
        EXPECT_TRUE(client->ReadPrelude(kWaitMs));
        const auto present = [&] {
            return client->State().device.count("Device present") &&
                   client->State().device.at("Device present") == "true" &&
                   client->State().outputRouting.size() == kOutputs;
        };
        while (!present() && client->NextBlock(kWaitMs)) {
        }
        EXPECT_TRUE(present());
        return client;
    }
    // What reached the switcher's line after the read-back at start.
    std::string Wire() const {
        const std::string all = ser2net->WrittenToDevice();
        size_t at = 0;
        for (int i = 0; i < kReadBackLines && at != std::string::npos; ++i) {
            at = all.find("\r\n", at);
            if (at != std::string::npos) at += 2;
        }
        return at == std::string::npos ? std::string() : all.substr(at);
    }
    OutputRow SwitcherRow() const { return switcher->State().m_tables.m_nPattern[kDirectRow]; }

    CTempDir dir;
    std::unique_ptr<CSwitcherServer> switcher;
    std::unique_ptr<CSer2net> ser2net;
    std::unique_ptr<CRunningProcess> serve;
    int nPort = 0;
};

TEST_F(QelvarctlServeTest, TheOpeningDumpShowsWhatTheSwitcherHoldsAfterOneReadBack) {
    StartSwitcher();
    Serve();
    auto client = Client();
    const CVideohubState& state = client->State();
    EXPECT_EQ(state.device.at("Model name"), "Qelvar-32");
    EXPECT_EQ(state.device.at("Video inputs"), "96");
    EXPECT_EQ(state.device.at("Video outputs"), "32");
    EXPECT_EQ(state.device.at("Unique ID").size(), 12u);
    EXPECT_EQ(state.inputLabels.size(), 96u);
    EXPECT_EQ(state.inputLabels.at(0), "本社");
    EXPECT_EQ(state.inputLabels.at(1), "");
    EXPECT_EQ(state.inputLabels.at(32), "A01");
    EXPECT_EQ(state.inputLabels.at(95), "A64");
    EXPECT_EQ(state.outputLabels.at(0), "out01");
    EXPECT_EQ(state.outputRouting.at(0), 0);
    EXPECT_EQ(state.outputRouting.at(7), 36) << "output 8 shows pattern A05";
    EXPECT_EQ(state.outputLocks.at(31), 'U');
    EXPECT_TRUE(state.badLines.empty());
    std::string asked = "ROT\r\n";
    for (int c = 1; c <= 32; ++c)
        asked += "RCA" + std::string(c < 10 ? "0" : "") + std::to_string(c) + "\r\n";
    EXPECT_EQ(ser2net->WrittenToDevice(), asked);
    EXPECT_EQ(client->Ping(kWaitMs), EVideohubReply::ack);
}

TEST_F(QelvarctlServeTest, ARouteAndASalvoAreEachOneOtLineAndEveryClientSeesThem) {
    StartSwitcher();
    Serve();
    auto a = Client();
    auto b = Client();
    OutputRow row = SwitcherRow();
    ASSERT_EQ(a->Route({{4, 2}}, kWaitMs), EVideohubReply::ack);
    row[4] = 2;
    EXPECT_EQ(Wire(), OtLine(row));
    EXPECT_EQ(Wire(),
              "OTI01I02I03I04I03I06I07A05I09I10I11I12I13I14I15I16I17I18I19I20I21I22I23I24I25I26"
              "I27I28I29I30I31I32\r\n");
    EXPECT_EQ(SwitcherRow(), row);
    const std::string first = Wire();
    ASSERT_TRUE(b->WaitForBlock("VIDEO OUTPUT ROUTING:", kWaitMs));
    EXPECT_EQ(b->State().outputRouting.at(4), 2);

    // A salvo, back from a pattern to an input and onto another pattern.
    ASSERT_EQ(a->Route({{0, 10}, {7, 3}, {31, 95}}, kWaitMs), EVideohubReply::ack);
    row[0] = 10;
    row[7] = 3;
    row[31] = 95;
    EXPECT_EQ(Wire(), first + OtLine(row));
    EXPECT_EQ(SwitcherRow(), row);
    ASSERT_TRUE(WaitFor([&] {
        b->NextBlock(50);
        return b->State().outputRouting.at(31) == 95;
    }));
    EXPECT_EQ(b->State().outputRouting.at(0), 10);
    EXPECT_EQ(b->State().outputRouting.at(7), 3);
}

TEST_F(QelvarctlServeTest, ARouteGoesThroughTheDeviceItselfAndRfc2217Alike) {
    StartSwitcher();
    for (const std::string& port : {switcher->DevicePath(), ser2net->Rfc2217Port()}) {
        Serve({"--rs232"}, {}, 0, port);
        auto a = Client();
        ASSERT_EQ(a->Route({{9, 30}}, kWaitMs), EVideohubReply::ack) << port;
        EXPECT_EQ(SwitcherRow()[9], 30) << port;
        ASSERT_EQ(a->Route({{9, 9}}, kWaitMs), EVideohubReply::ack) << port;
        EXPECT_EQ(serve->Stop(), 0) << port;
        ser2net->WaitIdle();
    }
}

TEST_F(QelvarctlServeTest, AGivenFileIsServedWithoutAskingTheSwitcher) {
    StartSwitcher();
    CSettingsTables tables = DefaultSettingsTables(0);
    tables.m_strTitle[4] = kHonsha;
    const std::string dat = dir.File("given.dat");
    WriteFileText(dat, FormatSettingsFile(tables));
    Serve({"--rs232"}, {"--state-from", dat});
    auto a = Client();
    EXPECT_EQ(a->State().inputLabels.at(4), "本社");
    EXPECT_EQ(a->State().inputLabels.at(0), "") << "not the switcher's title";
    EXPECT_EQ(ser2net->WrittenToDevice(), "");
}

TEST_F(QelvarctlServeTest, ARefusedReadBackLeavesTheDeviceAbsentUntilTheSwitcherAnswers) {
    CFaultOptions faults;
    faults.nErrorAtLine = 1;  // ROT answered E3
    StartSwitcher(faults);
    Serve();
    CVideohubClient early("127.0.0.1", nPort, kWaitMs);
    ASSERT_TRUE(early.ReadPrelude(kWaitMs));
    EXPECT_EQ(early.State().device.at("Device present"), "false");
    EXPECT_EQ(early.Route({{4, 2}}, kWaitMs), EVideohubReply::nak);
    // Asked again a few seconds later, and answered then.
    ASSERT_TRUE(WaitFor(
        [&] {
            early.NextBlock(50);
            return early.State().device.at("Device present") == "true" &&
                   early.State().outputRouting.size() == kOutputs;
        },
        10000));
    EXPECT_EQ(early.State().inputLabels.at(0), "本社");
}

TEST_F(QelvarctlServeTest, AJapaneseLabelIsTheTitlesCaLineAndOneThatCannotBeIsRefused) {
    StartSwitcher();
    Serve();
    auto a = Client();
    auto b = Client();
    ASSERT_EQ(a->SetInputLabel(2, "本社 CAM1", kWaitMs), EVideohubReply::ack);
    EXPECT_EQ(
        Wire(),
        "CA034B5C3C5221212343234123"
        "4D2331" +
            [] {
                std::string fill;
                for (int i = 0; i < 9; ++i) fill += "2121";
                return fill;
            }() +
            "\r\n");
    EXPECT_EQ(switcher->State().m_tables.m_strTitle[2],
              "\x96\x7b\x8e\xd0\x81\x40\x82\x62\x82\x60\x82\x6c\x82\x50");
    ASSERT_TRUE(WaitFor([&] {
        b->NextBlock(50);
        return b->State().inputLabels.at(2) == "本社　ＣＡＭ１";
    }));

    const std::string before = Wire();
    EXPECT_EQ(a->SetInputLabel(3, "①", kWaitMs), EVideohubReply::nak);
    EXPECT_EQ(a->SetInputLabel(3, "12345678901234567", kWaitMs), EVideohubReply::nak);
    EXPECT_EQ(a->SetInputLabel(32, "A01", kWaitMs), EVideohubReply::nak)
        << "a pattern has no title";
    EXPECT_EQ(Wire(), before) << "nothing was sent";
    EXPECT_EQ(a->State().inputLabels.at(3), "");
}

TEST_F(QelvarctlServeTest, AnErrorReplyIsNakAndNothingChanges) {
    CFaultOptions faults;
    faults.nErrorAtLine = kReadBackLines + 1;
    faults.errorReply = "E2";
    StartSwitcher(faults);
    Serve();
    auto a = Client();
    auto b = Client();
    const OutputRow row = SwitcherRow();
    EXPECT_EQ(a->Route({{4, 2}}, kWaitMs), EVideohubReply::nak);
    EXPECT_EQ(SwitcherRow(), row);
    EXPECT_EQ(a->State().outputRouting.at(4), 4);
    EXPECT_FALSE(b->NextBlock(300)) << "no change was announced";
    // The next one goes through.
    EXPECT_EQ(a->Route({{4, 2}}, kWaitMs), EVideohubReply::ack);
}

TEST_F(QelvarctlServeTest, NoReplyWithinTheReplyTimeIsNak) {
    CFaultOptions faults;
    faults.bSilent = true;
    StartSwitcher(faults);
    const std::string dat = dir.File("given.dat");
    WriteFileText(dat, FormatSettingsFile(DefaultSettingsTables(0)));
    Serve({"--rs232"}, {"--state-from", dat});
    auto a = Client();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(a->Route({{4, 2}}, 8000), EVideohubReply::nak);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 3s) << "the reply time is 3.5 s";
    EXPECT_EQ(a->State().outputRouting.at(4), 4);
    EXPECT_EQ(ser2net->WrittenToDevice().substr(0, 2), "OT") << "no read-back came first";
}

TEST_F(QelvarctlServeTest, WhileThePortIsLostTheDeviceIsAbsentAndRoutesAreRefused) {
    StartSwitcher();
    Serve();
    auto a = Client();
    ser2net->Stop();
    ASSERT_TRUE(WaitFor([&] {
        a->NextBlock(50);
        return a->State().device.at("Device present") == "false";
    }));
    EXPECT_EQ(a->Route({{4, 2}}, kWaitMs), EVideohubReply::nak);
    auto late = std::make_unique<CVideohubClient>("127.0.0.1", nPort, kWaitMs);
    ASSERT_TRUE(late->ReadPrelude(kWaitMs));
    EXPECT_EQ(late->State().device.at("Device present"), "false");
    EXPECT_TRUE(late->State().inputLabels.empty());

    ser2net->Start();
    ASSERT_TRUE(WaitFor(
        [&] {
            a->NextBlock(50);
            return a->State().device.at("Device present") == "true";
        },
        15000));
    ASSERT_TRUE(WaitFor([&] {
        late->NextBlock(50);
        return late->State().inputLabels.size() == 96;
    }));
    EXPECT_EQ(a->Route({{4, 2}}, kWaitMs), EVideohubReply::ack);
    EXPECT_EQ(SwitcherRow()[4], 2);
}

TEST_F(QelvarctlServeTest, HostileClientsAreDroppedAndNeverHoldUpTheOthers) {
    StartSwitcher();
    Serve({"--rs232"}, {"--max-clients", "3"});
    auto good = Client();

    CVideohubClient huge("127.0.0.1", nPort, kWaitMs);
    ASSERT_TRUE(huge.ReadPrelude(kWaitMs));
    huge.SendRaw(std::string(1 << 20, 'x'), kWaitMs);
    EXPECT_TRUE(huge.WaitForClose(kWaitMs)) << "a line of a megabyte";

    // One that asks and asks but never reads what it is sent.
    CVideohubClient stalled("127.0.0.1", nPort, kWaitMs);
    // A small window, so that the kernel holds little of what it is sent.
    const int small = 4096;
    ::setsockopt(stalled.Fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    std::string asks;
    for (int i = 0; i < 40000; ++i) asks += "INPUT LABELS:\n\n";
    stalled.SendRaw(asks, kWaitMs);
    EXPECT_TRUE(WaitFor([&] { return HungUp(stalled.Fd()); }, 20000))
        << "a client that does not read";

    CVideohubClient half("127.0.0.1", nPort, kWaitMs);
    ASSERT_TRUE(half.ReadPrelude(kWaitMs));
    half.SendRaw("VIDEO OUTPUT ROUTING:\n4 ", kWaitMs);  // and nothing more

    CVideohubClient garbage("127.0.0.1", nPort, kWaitMs);
    ASSERT_TRUE(garbage.ReadPrelude(kWaitMs));
    EXPECT_EQ(garbage.Request({"HELLO THERE:", {"\x01\x02 x"}}, kWaitMs), EVideohubReply::nak);
    EXPECT_EQ(garbage.Request({"VIDEO OUTPUT ROUTING:", {"4 two"}}, kWaitMs), EVideohubReply::nak);

    // Fifty routes at once: a few wait for the switcher, the rest are refused
    // at once, and the others' routes are not queued behind them all.
    std::string flood;
    for (int i = 0; i < 50; ++i)
        flood += "VIDEO OUTPUT ROUTING:\n6 " + std::to_string(i % 32) + "\n\n";
    garbage.SendRaw(flood, kWaitMs);
    int naks = 0;
    for (int i = 0; i < 50;) {
        auto block = garbage.NextBlock(kWaitMs);
        ASSERT_TRUE(block) << i;
        if (block->header == "ACK" || block->header == "NAK") ++i;
        if (block->header == "NAK") ++naks;
    }
    EXPECT_GE(naks, 40);

    CVideohubClient fourth("127.0.0.1", nPort, kWaitMs);
    EXPECT_TRUE(fourth.WaitForClose(kWaitMs)) << "more clients than the port takes";

    EXPECT_EQ(good->Route({{4, 2}}, kWaitMs), EVideohubReply::ack);
    EXPECT_EQ(SwitcherRow()[4], 2);
    EXPECT_EQ(garbage.Ping(kWaitMs), EVideohubReply::ack) << "a refused request drops nobody";
}

TEST_F(QelvarctlServeTest, LocksAreEachClientsAndOutputLabelsOutliveARestart) {
    StartSwitcher();
    Serve();
    {
        auto a = Client();
        auto b = Client();
        ASSERT_EQ(a->SetOutputLock(3, 'O', kWaitMs), EVideohubReply::ack);
        ASSERT_TRUE(WaitFor([&] {
            b->NextBlock(50);
            return b->State().outputLocks.at(3) == 'L';
        }));
        ASSERT_TRUE(WaitFor([&] {
            a->NextBlock(50);
            return a->State().outputLocks.at(3) == 'O';
        }));
        EXPECT_EQ(b->Route({{3, 9}}, kWaitMs), EVideohubReply::nak);
        EXPECT_EQ(b->SetOutputLock(3, 'U', kWaitMs), EVideohubReply::nak);
        EXPECT_EQ(a->Route({{3, 9}}, kWaitMs), EVideohubReply::ack);
        ASSERT_EQ(b->SetOutputLock(3, 'F', kWaitMs), EVideohubReply::ack);
        ASSERT_TRUE(WaitFor([&] {
            a->NextBlock(50);
            return a->State().outputLocks.at(3) == 'U';
        }));
        ASSERT_EQ(a->SetOutputLock(5, 'O', kWaitMs), EVideohubReply::ack);
        ASSERT_EQ(b->SetOutputLabel(0, "Main 本社", kWaitMs), EVideohubReply::ack);
        ASSERT_TRUE(WaitFor([&] {
            a->NextBlock(50);
            return a->State().outputLabels.at(0) == "Main 本社";
        }));
    }
    EXPECT_EQ(serve->Stop(), 0);
    ser2net->WaitIdle();
    Serve();
    auto c = Client();
    EXPECT_EQ(c->State().outputLabels.at(0), "Main 本社");
    EXPECT_EQ(c->State().outputLocks.at(5), 'L') << "locked by a connection that has gone";
    EXPECT_EQ(c->State().outputLocks.at(3), 'U');
}

TEST_F(QelvarctlServeTest, EachUnitOfABusHasItsOwnPortAndItsOwnLines) {
    CSwitcherOptions first{0, true, 3};
    StartSwitcher({}, first);
    // Stopped and given a second switcher before it serves again.
    switcher->Stop();
    switcher = std::make_unique<CSwitcherServer>(first);
    switcher->AddSwitcher({0, true, 5});
    ASSERT_TRUE(switcher->Start()) << switcher->Error();
    ser2net = std::make_unique<CSer2net>(switcher->DevicePath());
    const int p3 = FreeTcpPort();
    const int p5 = FreeTcpPort();
    ASSERT_NE(p3, p5);
    WriteFileText(StatePath(), "[server]\nbase_port=" + std::to_string(p3) +
                                   "\n[unit 03]\nport=" + std::to_string(p3) +
                                   "\n[unit 05]\nport=" + std::to_string(p5) + "\n");
    Serve({"--rs485", "03"}, {"--unit", "03", "--unit", "05"}, p3);
    auto three = Client(p3);
    auto five = Client(p5);
    EXPECT_NE(three->State().device.at("Unique ID"), five->State().device.at("Unique ID"));
    const std::string before = ser2net->WrittenToDevice();
    ASSERT_EQ(five->Route({{0, 1}}, kWaitMs), EVideohubReply::ack);
    const std::string sent = ser2net->WrittenToDevice().substr(before.size());
    EXPECT_EQ(sent.substr(0, 4), "05OT") << sent;
    EXPECT_EQ(switcher->State(1).m_tables.m_nPattern[kDirectRow][0], 1);
    EXPECT_EQ(switcher->State(0).m_tables.m_nPattern[kDirectRow][0], 0);
    EXPECT_FALSE(three->NextBlock(300)) << "unit 03 did not change";
}

}  // namespace
