// The test client of the Videohub protocol against a scripted server that
// sends what the protocol's description shows, so that a disagreement with
// the real server is the server's to answer for.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/support/videohub_client.h"

namespace {

using Clock = std::chrono::steady_clock;

// A server that accepts one client on 127.0.0.1 and plays a script with it.
class CScriptedServer {
public:
    using Script = std::function<void(CScriptedServer&)>;

    explicit CScriptedServer(Script script) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::listen(m_listen, 1) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            throw std::runtime_error("the scripted server cannot listen");
        }
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this, script] {
            pollfd p{m_listen, POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1) return;
            m_client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (m_client >= 0) script(*this);
        });
    }
    ~CScriptedServer() {
        m_thread.join();
        if (m_client >= 0) ::close(m_client);
        ::close(m_listen);
    }

    int Port() const { return m_port; }

    void Send(const std::string& text) { ::send(m_client, text.data(), text.size(), MSG_NOSIGNAL); }
    // What the client sent up to and including its blank line; empty if it
    // sent none in time.
    std::string ReadBlock(int timeoutMs = 2000) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const std::size_t end = m_in.find("\n\n");
            if (end != std::string::npos) {
                std::string block = m_in.substr(0, end + 2);
                m_in.erase(0, end + 2);
                return block;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{m_client, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) != 1) {
                return {};
            }
            char buffer[4096];
            const ssize_t n = ::recv(m_client, buffer, sizeof buffer, 0);
            if (n <= 0) return {};
            m_in.append(buffer, static_cast<std::size_t>(n));
        }
    }
    // Holds the connection open without a word, until the client leaves.
    void WaitForClientToLeave() {
        pollfd p{m_client, POLLIN, 0};
        char buffer[256];
        while (::poll(&p, 1, 5000) == 1 && ::recv(m_client, buffer, sizeof buffer, 0) > 0) {
        }
    }
    void Close() {
        ::close(m_client);
        m_client = -1;
    }

private:
    int m_listen = -1;
    int m_client = -1;
    int m_port = 0;
    std::string m_in;
    std::thread m_thread;
};

// An opening dump in the form the protocol's description shows, for a small
// router of 4 inputs and 4 outputs, with a block and a line a client must skip.
const std::string kDump =
    "PROTOCOL PREAMBLE:\n"
    "Version: 2.3\n"
    "\n"
    "VIDEOHUB DEVICE:\n"
    "Device present: true\n"
    "Model name: Blackmagic Smart Videohub\n"
    "Friendly name: Rack 1\n"
    "Unique ID: 0123456789AB\n"
    "Video inputs: 4\n"
    "Video processing units: 0\n"
    "Video outputs: 4\n"
    "Video monitoring outputs: 0\n"
    "Serial ports: 0\n"
    "\n"
    "INPUT LABELS:\n"
    "0 VTR 1\n"
    "1 VTR 2\n"
    "2 カメラ 3\n"
    "3 Input 4\n"
    "\n"
    "OUTPUT LABELS:\n"
    "0 Output feed 1\n"
    "1 Output feed 2\n"
    "2 Output feed 3\n"
    "3 Output feed 4\n"
    "\n"
    "VIDEO OUTPUT LOCKS:\n"
    "0 U\n"
    "1 O\n"
    "2 L\n"
    "3 U\n"
    "\n"
    "SERIAL PORT DIRECTIONS:\n"
    "0 control\n"
    "\n"
    "VIDEO OUTPUT ROUTING:\n"
    "0 3\n"
    "1 2\n"
    "2 1\n"
    "3 0\n"
    "\n"
    "END PRELUDE:\n"
    "\n";

std::string WithCrLf(const std::string& text) {
    return std::regex_replace(text, std::regex("\n"), "\r\n");
}

void ExpectDumpState(const CVideohubState& s) {
    EXPECT_TRUE(s.preludeEnded);
    EXPECT_EQ(s.protocolVersion, "2.3");
    EXPECT_EQ(s.device.at("Device present"), "true");
    EXPECT_EQ(s.device.at("Model name"), "Blackmagic Smart Videohub");
    EXPECT_EQ(s.device.at("Friendly name"), "Rack 1");
    EXPECT_EQ(s.device.at("Unique ID"), "0123456789AB");
    EXPECT_EQ(s.device.at("Video inputs"), "4");
    EXPECT_EQ(s.device.at("Video outputs"), "4");
    EXPECT_EQ(s.device.size(), 9u);
    EXPECT_EQ(s.inputLabels, (std::map<int, std::string>{
                                 {0, "VTR 1"}, {1, "VTR 2"}, {2, "カメラ 3"}, {3, "Input 4"}}));
    EXPECT_EQ(s.outputLabels.size(), 4u);
    EXPECT_EQ(s.outputLabels.at(3), "Output feed 4");
    EXPECT_EQ(s.outputLocks, (std::map<int, char>{{0, 'U'}, {1, 'O'}, {2, 'L'}, {3, 'U'}}));
    EXPECT_EQ(s.outputRouting, (std::map<int, int>{{0, 3}, {1, 2}, {2, 1}, {3, 0}}));
    EXPECT_TRUE(s.badLines.empty());
}

TEST(VideohubClient, ReadsTheOpeningDumpWithEitherLineEnd) {
    for (const std::string& dump : {kDump, WithCrLf(kDump)}) {
        CScriptedServer server([&](CScriptedServer& s) {
            s.Send(dump);
            s.WaitForClientToLeave();
        });
        CVideohubClient client("127.0.0.1", server.Port(), 2000);
        ASSERT_TRUE(client.Connected()) << client.Error();
        ASSERT_TRUE(client.ReadPrelude(2000)) << client.Error();
        ExpectDumpState(client.State());
    }
}

TEST(VideohubClient, ReadsADumpSentAByteAtATime) {
    CScriptedServer server([](CScriptedServer& s) {
        for (char c : kDump) s.Send(std::string(1, c));
        s.WaitForClientToLeave();
    });
    CVideohubClient client("127.0.0.1", server.Port(), 2000);
    ASSERT_TRUE(client.ReadPrelude(5000)) << client.Error();
    ExpectDumpState(client.State());
}

TEST(VideohubClient, AppliesUpdatesOfOnlyTheChangedItems) {
    CScriptedServer server([](CScriptedServer& s) {
        s.Send(kDump);
        s.Send("OUTPUT LABELS:\n1 New output 2 label\n3 New output 4 label\n\n");
        s.Send("VIDEO OUTPUT ROUTING:\n2 0\n\nVIDEO OUTPUT LOCKS:\n1 U\n\n");
        s.Send("VIDEOHUB DEVICE:\nDevice present: false\n\n");
        s.WaitForClientToLeave();
    });
    CVideohubClient client("127.0.0.1", server.Port(), 2000);
    ASSERT_TRUE(client.ReadPrelude(2000)) << client.Error();

    auto labels = client.NextBlock(2000);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->header, "OUTPUT LABELS:");
    EXPECT_EQ(labels->lines.size(), 2u);
    const CVideohubState& s = client.State();
    EXPECT_EQ(s.outputLabels, (std::map<int, std::string>{{0, "Output feed 1"},
                                                          {1, "New output 2 label"},
                                                          {2, "Output feed 3"},
                                                          {3, "New output 4 label"}}));
    ASSERT_TRUE(client.WaitForBlock("VIDEO OUTPUT LOCKS:", 2000));
    EXPECT_EQ(s.outputRouting, (std::map<int, int>{{0, 3}, {1, 2}, {2, 0}, {3, 0}}));
    EXPECT_EQ(s.outputLocks, (std::map<int, char>{{0, 'U'}, {1, 'U'}, {2, 'L'}, {3, 'U'}}));
    // A device block replaces the whole device: gone means only that.
    ASSERT_TRUE(client.WaitForBlock("VIDEOHUB DEVICE:", 2000));
    EXPECT_EQ(s.device, (std::map<std::string, std::string>{{"Device present", "false"}}));
}

TEST(VideohubClient, KeepsLinesThatDoNotParseForTheTestToSee) {
    CScriptedServer server([](CScriptedServer& s) {
        s.Send(kDump);
        s.Send("VIDEO OUTPUT ROUTING:\n2 x\n-1 0\n1 1\n\nVIDEO OUTPUT LOCKS:\n0 Q\n\n");
        s.WaitForClientToLeave();
    });
    CVideohubClient client("127.0.0.1", server.Port(), 2000);
    ASSERT_TRUE(client.ReadPrelude(2000));
    ASSERT_TRUE(client.WaitForBlock("VIDEO OUTPUT LOCKS:", 2000));
    EXPECT_EQ(client.State().outputRouting.at(1), 1);
    EXPECT_EQ(client.State().outputRouting.at(2), 1);
    EXPECT_EQ(client.State().outputLocks.at(0), 'U');
    EXPECT_EQ(client.State().badLines,
              (std::vector<std::string>{"VIDEO OUTPUT ROUTING: 2 x", "VIDEO OUTPUT ROUTING: -1 0",
                                        "VIDEO OUTPUT LOCKS: 0 Q"}));
}

// The requests go out in the protocol's form, and ACK and NAK are told apart,
// with any block before the answer applied and the update after it left for
// NextBlock.
TEST(VideohubClient, SendsRequestsAndTellsAckFromNak) {
    std::vector<std::string> received;  // read once the server's thread has ended
    {
        CScriptedServer server([&](CScriptedServer& s) {
            s.Send(WithCrLf(kDump));
            received.push_back(s.ReadBlock());
            s.Send("VIDEO OUTPUT ROUTING:\r\n0 0\r\n\r\nACK\r\n\r\n");
            s.Send("VIDEO OUTPUT ROUTING:\r\n3 2\r\n1 0\r\n\r\n");
            for (int i = 0; i < 6; ++i) {
                received.push_back(s.ReadBlock());
                s.Send(i % 2 == 0 ? "NAK\n\n" : "ACK\n\n");
            }
            s.WaitForClientToLeave();
        });
        CVideohubClient client("127.0.0.1", server.Port(), 2000);
        ASSERT_TRUE(client.ReadPrelude(2000));

        EXPECT_EQ(client.Route({{3, 2}, {1, 0}}, 2000), EVideohubReply::ack);
        EXPECT_EQ(client.State().outputRouting.at(0), 0);  // the block before the ACK
        EXPECT_EQ(client.State().outputRouting.at(3), 0);  // not yet the update
        auto update = client.NextBlock(2000);
        ASSERT_TRUE(update);
        EXPECT_EQ(update->lines, (std::vector<std::string>{"3 2", "1 0"}));
        EXPECT_EQ(client.State().outputRouting.at(3), 2);

        EXPECT_EQ(client.SetInputLabel(2, "カメラ 3", 2000), EVideohubReply::nak);
        EXPECT_EQ(client.SetOutputLabel(0, "Program", 2000), EVideohubReply::ack);
        EXPECT_EQ(client.SetOutputLock(1, 'F', 2000), EVideohubReply::nak);
        EXPECT_EQ(client.RequestDump("OUTPUT LABELS:", 2000), EVideohubReply::ack);
        EXPECT_EQ(client.Ping(2000), EVideohubReply::nak);
        EXPECT_EQ(client.Request({"VIDEO OUTPUT LOCKS:", {"0 O", "3 U"}}, 2000),
                  EVideohubReply::ack);
        EXPECT_EQ(client.State().inputLabels.at(2), "カメラ 3");  // requests change nothing
        EXPECT_EQ(client.State().outputLabels.at(0), "Output feed 1");
    }
    EXPECT_EQ(received,
              (std::vector<std::string>{
                  "VIDEO OUTPUT ROUTING:\n3 2\n1 0\n\n", "INPUT LABELS:\n2 カメラ 3\n\n",
                  "OUTPUT LABELS:\n0 Program\n\n", "VIDEO OUTPUT LOCKS:\n1 F\n\n",
                  "OUTPUT LABELS:\n\n", "PING:\n\n", "VIDEO OUTPUT LOCKS:\n0 O\n3 U\n\n"}));
}

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(VideohubClient, TimesOutOnADumpThatNeverEndsAndOnAnUnansweredRequest) {
    CScriptedServer server([](CScriptedServer& s) {
        // The dump stops halfway through a block; nothing more comes.
        s.Send(kDump.substr(0, kDump.find("VIDEO OUTPUT LOCKS:") + 24));
        s.WaitForClientToLeave();
    });
    CVideohubClient client("127.0.0.1", server.Port(), 2000);
    ASSERT_TRUE(client.Connected());
    auto start = Clock::now();
    EXPECT_FALSE(client.ReadPrelude(300));
    EXPECT_GE(MsSince(start), 290);
    EXPECT_LT(MsSince(start), 1500);
    EXPECT_FALSE(client.State().preludeEnded);
    EXPECT_EQ(client.State().outputLabels.size(), 4u);  // the whole blocks before it
    EXPECT_TRUE(client.State().outputLocks.empty());

    start = Clock::now();
    EXPECT_EQ(client.Ping(300), EVideohubReply::timeout);
    EXPECT_LT(MsSince(start), 1500);
}

TEST(VideohubClient, TellsWhetherTheServerClosedTheConnection) {
    CScriptedServer closing([](CScriptedServer& s) {
        s.Send(kDump);
        s.ReadBlock();
        s.Close();
    });
    CVideohubClient dropped("127.0.0.1", closing.Port(), 2000);
    ASSERT_TRUE(dropped.ReadPrelude(2000));
    EXPECT_TRUE(dropped.SendRaw(std::string(100, '\x01') + "\n\n", 2000));
    EXPECT_TRUE(dropped.WaitForClose(2000));
    EXPECT_EQ(dropped.Ping(500), EVideohubReply::closed);

    CScriptedServer staying([](CScriptedServer& s) {
        s.Send(kDump);
        s.WaitForClientToLeave();
    });
    CVideohubClient kept("127.0.0.1", staying.Port(), 2000);
    ASSERT_TRUE(kept.ReadPrelude(2000));
    EXPECT_TRUE(kept.SendRaw("garbage\n\n", 2000));
    EXPECT_FALSE(kept.WaitForClose(300));
}

TEST(VideohubClient, FailsToConnectWhereNothingListens) {
    int port = 0;
    {
        CScriptedServer gone([](CScriptedServer&) {});
        port = gone.Port();
        CVideohubClient first("127.0.0.1", port, 2000);  // lets the script end
    }
    CVideohubClient client("127.0.0.1", port, 2000);
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.Error().empty());
    EXPECT_FALSE(client.ReadPrelude(100));
}

}  // namespace
