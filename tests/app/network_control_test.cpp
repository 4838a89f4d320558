// 通信 > ネットワーク制御 in the program, on the built-in virtual switcher: a
// client of the test's own, on a plain socket, speaks the Videohub protocol to
// the port the profile names.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <QAction>

#include "app/link_pane.h"
#include "link/link_context.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/link_dialogs.h"
#include "tests/app/app_fixture.h"
#include "tests/support/ser2net_server.h"

namespace {

const char kHonsha[] = "\x96\x7b\x8e\xd0";  // 本社 in Shift_JIS
const char kShisha[] = "\x8e\x78\x8e\xd0";  // 支社
const char kEndOfDump[] = "END PRELUDE:\n\n";

int ConnectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(static_cast<uint16_t>(port));
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// Whether anything accepts connections on 127.0.0.1:port.
bool Accepts(int port) {
    const int fd = ConnectTo(port);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

// One connection to the server; what it sent is gathered as the program runs.
// The server runs on this thread, so the client never blocks to read: the
// tests' own Videohub client would wait with the event loop stopped.
class CTestClient {
public:
    explicit CTestClient(int port) : m_fd(ConnectTo(port)) {}
    ~CTestClient() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CTestClient(const CTestClient&) = delete;
    CTestClient& operator=(const CTestClient&) = delete;

    bool Connected() const { return m_fd >= 0; }
    void Send(const std::string& text) const {
        ::send(m_fd, text.data(), text.size(), MSG_NOSIGNAL);
    }
    // Takes what has arrived so far.
    void Take() {
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (n <= 0) {
                if (n == 0) bClosed = true;
                return;
            }
            received.append(chunk, static_cast<size_t>(n));
        }
    }
    bool Has(const std::string& text) const { return received.find(text) != std::string::npos; }

    std::string received;
    bool bClosed = false;

private:
    int m_fd;
};

class NetworkControlTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        port = FreeTcpPort();
    }
    // The profile of the hardware (COM1 on the test's pty), with the server's
    // section (on the loopback address only); the frame then runs on the
    // virtual switcher.
    void WriteNetworkProfile() {
        WriteProfile("com_port=0\nrs_control=0\nqlv_model=0");
        WriteFileText(profile, ReadFileText(profile) + "[Network]\nport=" + std::to_string(port) +
                                   "\nlisten=127.0.0.1\n");
    }
    void MakeSimulatorFrame() {
        CStartOptions options;
        options.bSimulator = true;
        MakeFrame(options);
        ASSERT_TRUE(ProcessUntil([] { return Link().State().Connected(); }))
            << static_cast<int>(Link().State().Status()) << " boxes " << sink.boxes.size()
            << (sink.boxes.empty() ? "" : sink.boxes[0].text);
    }
    QAction* Item() const { return frame->Action(ID_NETWORK_CONTROL); }
    void SetItem(bool on) {
        if (Item()->isChecked() != on) Item()->trigger();
    }
    bool Receive(CTestClient& client, const std::string& text, int timeoutMs = 3000) {
        return ProcessUntil(
            [&] {
                client.Take();
                return client.Has(text);
            },
            timeoutMs);
    }
    // A client that has read its opening dump.
    std::unique_ptr<CTestClient> Connect() {
        auto client = std::make_unique<CTestClient>(port);
        EXPECT_TRUE(client->Connected());
        EXPECT_TRUE(Receive(*client, kEndOfDump)) << client->received;
        return client;
    }
    std::vector<std::string> SentSince(size_t nEntries) {
        std::vector<std::string> sent;
        const auto& entries = frame->CommLog().Entries();
        for (size_t i = nEntries; i < entries.size(); ++i) {
            if (entries[i].direction == CommDirection::kSent) sent.push_back(entries[i].line);
        }
        return sent;
    }
    bool ProfileSays(const std::string& line) const {
        return ReadFileText(profile).find(line) != std::string::npos;
    }

    int port = 0;
};

TEST_F(NetworkControlTest, OnServesTheSettingsInMemoryAndSaysSoInTheLinkPane) {
    WriteNetworkProfile();
    MakeSimulatorFrame();
    ASSERT_TRUE(Item()->isCheckable());
    EXPECT_FALSE(Item()->isChecked());
    EXPECT_EQ(Item()->statusTip(), "ネットワーク上のパネルや制御システムからスイッチャーを操作");
    EXPECT_FALSE(Accepts(port));
    EXPECT_FALSE(frame->LinkPane()->FullText().contains("ネットワーク制御"));

    g_strTitle[0] = kHonsha;
    g_nPattern[0][3] = 7;
    SetItem(true);
    EXPECT_TRUE(Item()->isChecked());
    EXPECT_TRUE(ProfileSays("videohub=1"));
    EXPECT_EQ(sink.boxes, std::vector<RecordedBox>{});

    CTestClient client(port);
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(Receive(client, kEndOfDump)) << client.received;
    EXPECT_TRUE(client.Has("VIDEOHUB DEVICE:\nDevice present: true\n")) << client.received;
    EXPECT_TRUE(client.Has("Video inputs: 96\n"));  // 32 inputs and the 64 patterns
    EXPECT_TRUE(client.Has("Video outputs: 32\n"));
    EXPECT_TRUE(client.Has("INPUT LABELS:\n0 本社\n"));
    EXPECT_TRUE(client.Has("\n3 7\n"));  // output 4 routed from input 8, as the settings hold
    EXPECT_TRUE(ProcessUntil([&] { return frame->LinkPane()->FullText().contains("(1)"); }));
    EXPECT_TRUE(
        frame->LinkPane()->FullText().endsWith(QString("ネットワーク制御 %1 (1)").arg(port)));
    EXPECT_TRUE(frame->LinkPane()->toolTip().contains(
        QString("ネットワーク制御 ポート %1 (1 クライアント)").arg(port)));
}

TEST_F(NetworkControlTest, ARouteGoesOutAsOneOtLineAndIsAckedOnGoToEveryClient) {
    WriteNetworkProfile();
    MakeSimulatorFrame();
    SetItem(true);
    auto routing = Connect();
    auto watching = Connect();
    routing->received.clear();
    watching->received.clear();
    const size_t before = frame->CommLog().Entries().size();

    routing->Send("VIDEO OUTPUT ROUTING:\n0 4\n\n");
    ASSERT_TRUE(Receive(*routing, "ACK\n\n")) << routing->received;
    const std::vector<std::string> sent = SentSince(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].substr(0, 2), "OT");
    EXPECT_EQ(g_nPattern[0][0], 4);
    EXPECT_TRUE(Receive(*watching, "VIDEO OUTPUT ROUTING:\n0 4\n\n")) << watching->received;
    EXPECT_FALSE(watching->Has("ACK"));  // the answer is the asker's alone
    EXPECT_TRUE(Receive(*routing, "ACK\n\nVIDEO OUTPUT ROUTING:\n0 4\n\n")) << routing->received;

    // A label a client sets is a title the operator has not saved yet.
    g_bModified = 0;
    const size_t beforeLabel = frame->CommLog().Entries().size();
    routing->Send("INPUT LABELS:\n2 本社\n\n");
    ASSERT_TRUE(Receive(*routing, "ACK\n\nINPUT LABELS:\n2 本社")) << routing->received;
    const std::vector<std::string> titled = SentSince(beforeLabel);
    ASSERT_EQ(titled.size(), 1u);
    EXPECT_EQ(titled[0].substr(0, 2), "CA");
    EXPECT_EQ(g_strTitle[2].substr(0, 4), kHonsha);
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(NetworkControlTest, ClientsSeeWhatTheOperatorChangedOnceACommandHasRun) {
    WriteNetworkProfile();
    MakeSimulatorFrame();
    SetItem(true);
    g_strTitle[1] = kShisha;
    const std::string file = dir.File("branch.dat");
    ASSERT_TRUE(SaveSettingsFile(file));
    g_strTitle[1] = kHonsha;
    auto client = Connect();
    ASSERT_TRUE(client->Has("\n1 本社\n"));
    client->received.clear();

    dialogs->openResult = file;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    ASSERT_EQ(g_strTitle[1], kShisha);
    // Nothing else wakes the server meanwhile: no line went out, no deadline is due.
    EXPECT_TRUE(Receive(*client, "INPUT LABELS:\n1 支社\n\n")) << client->received;
}

TEST_F(NetworkControlTest, TheItemIsKeptInTheProfileAndOffClosesThePort) {
    WriteNetworkProfile();
    MakeSimulatorFrame();
    SetItem(true);
    ASSERT_TRUE(Accepts(port));
    frame.reset();
    EXPECT_FALSE(Accepts(port));  // the program's end closes it

    MakeSimulatorFrame();
    EXPECT_TRUE(Item()->isChecked());
    auto client = Connect();
    SetItem(false);
    EXPECT_TRUE(ProfileSays("videohub=0"));
    EXPECT_FALSE(Accepts(port));
    EXPECT_TRUE(ProcessUntil([&] {
        client->Take();
        return client->bClosed;
    }));
    EXPECT_FALSE(frame->LinkPane()->FullText().contains("ネットワーク制御"));

    frame.reset();
    MakeSimulatorFrame();
    EXPECT_FALSE(Item()->isChecked());
    EXPECT_FALSE(Accepts(port));
}

TEST_F(NetworkControlTest, APortInUseGivesABoxAndLeavesTheItemUnchecked) {
    // Held on the address the profile tells the server to listen on.
    WriteNetworkProfile();
    const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(static_cast<uint16_t>(port));
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    const std::vector<RecordedBox> inUse = {
        {BoxKind::kSetupError,
         "Cannot listen on port " + std::to_string(port) + ": " + std::strerror(EADDRINUSE)}};

    MakeSimulatorFrame();
    SetItem(true);
    EXPECT_EQ(sink.boxes, inUse);
    EXPECT_FALSE(Item()->isChecked());
    EXPECT_FALSE(ProfileSays("videohub=1"));
    EXPECT_FALSE(frame->LinkPane()->FullText().contains("ネットワーク制御"));

    // Kept on, but taken at the next start: the same box, the item unchecked.
    frame.reset();
    WriteFileText(profile, ReadFileText(profile) + "videohub=1\n");
    sink.boxes.clear();
    MakeSimulatorFrame();
    EXPECT_EQ(sink.boxes, inUse);
    EXPECT_FALSE(Item()->isChecked());
    ::close(holder);

    SetItem(true);
    EXPECT_TRUE(Item()->isChecked());
    EXPECT_TRUE(Accepts(port));
}

// 通信の設定 restarts the link, here onto RS-485: the server starts again, and
// its lines carry the address the program now talks to.
TEST_F(NetworkControlTest, ServedAfreshWhenTheLinkIsRestarted) {
    WriteNetworkProfile();
    MakeSimulatorFrame();
    SetItem(true);
    auto before = Connect();
    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_INTERFACE, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    ASSERT_EQ(g_bRs485, 1);
    EXPECT_TRUE(Item()->isChecked());
    EXPECT_TRUE(ProcessUntil([&] {
        before->Take();
        return before->bClosed;
    }));

    ASSERT_TRUE(ProcessUntil([] { return Link().State().Connected(); }));
    auto after = Connect();
    EXPECT_TRUE(after->Has("Device present: true\n")) << after->received;
    const size_t entries = frame->CommLog().Entries().size();
    after->Send("VIDEO OUTPUT ROUTING:\n5 9\n\n");
    ASSERT_TRUE(Receive(*after, "ACK\n\n")) << after->received;
    const std::vector<std::string> sent = SentSince(entries);
    ASSERT_EQ(sent.size(), 1u);
    char address[3];
    std::snprintf(address, sizeof address, "%02d", g_nSlaveAddress);
    EXPECT_EQ(sent[0].substr(0, 4), std::string(address) + "OT");
    EXPECT_EQ(g_nPattern[0][5], 9);
}

}  // namespace
