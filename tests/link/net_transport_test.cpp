// Reaching a serial device server when the network does not answer: a name
// service that answers late or never (a resolver of the test's own), and a
// server whose listen queue is full, so that the kernel drops the SYN and the
// connection attempt is left waiting.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/comm_log.h"
#include "link/link_failure.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/transmitter.h"
#include "tests/link/link_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

template <class Pred>
bool DispatchUntil(Pred pred, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!pred()) {
        if (Clock::now() > deadline) return false;
        WaitForReplies(20);
    }
    return true;
}

size_t Entries(const char* folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

// A name service that holds each question until the test lets it answer.
// The resolver keeps it alive, so it outlives a test that gives up on it.
class CHeldNameService {
public:
    HostResolver Resolver(CLookupAnswer answer) {
        return [self = m_pSelf, answer](const std::string& host, int) {
            std::unique_lock lock(self->mutex);
            self->hosts.push_back(host);
            self->changed.notify_all();
            self->changed.wait(lock, [&] { return self->bReleased; });
            ++self->nAnswered;
            self->changed.notify_all();
            return answer;
        };
    }
    void Release() {
        std::lock_guard lock(m_pSelf->mutex);
        m_pSelf->bReleased = true;
        m_pSelf->changed.notify_all();
    }
    // Waits until n questions came (answered: until n were answered).
    bool WaitFor(size_t n, bool answered, std::chrono::milliseconds limit = 2000ms) {
        std::unique_lock lock(m_pSelf->mutex);
        return m_pSelf->changed.wait_for(lock, limit, [&] {
            return (answered ? m_pSelf->nAnswered : m_pSelf->hosts.size()) >= n;
        });
    }
    std::vector<std::string> Hosts() const {
        std::lock_guard lock(m_pSelf->mutex);
        return m_pSelf->hosts;
    }
    ~CHeldNameService() { Release(); }

private:
    struct CState {
        std::mutex mutex;
        std::condition_variable changed;
        bool bReleased = false;
        std::vector<std::string> hosts;
        size_t nAnswered = 0;
    };
    std::shared_ptr<CState> m_pSelf = std::make_shared<CState>();
};

// A listening socket on the loopback; backlog 0 holds one connection that
// nobody accepts, and the kernel drops every SYN after it.
class CListener {
public:
    explicit CListener(int backlog) : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(m_fd, backlog);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size);
        m_nPort = ntohs(address.sin_port);
    }
    ~CListener() { ::close(m_fd); }
    int Port() const { return m_nPort; }
    // A connection made and left in the queue; its descriptor (-1 on failure).
    int FillQueue() const {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(m_nPort));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    // The next queued connection, waiting at most ms for it; -1 for none.
    int Accept(int ms) const {
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, ms) != 1) return -1;
        return ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    }
    CLookupAnswer Answer() const {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(m_nPort));
        CHostAddress host;
        std::memcpy(&host.address, &address, sizeof address);
        host.nSize = sizeof address;
        return {{host}, {}};
    }

private:
    int m_fd;
    int m_nPort = 0;
};

std::string ReadSome(int fd, int ms) {
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, ms) != 1) return {};
    char buffer[64];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

class NetTransportTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        log.FollowLink();
    }
    void TearDown() override { StopLink(); }

    bool HasLine(const std::string& text) const {
        for (const auto& entry : log.Entries()) {
            if (entry.line == text) return true;
        }
        return false;
    }

    CCommLog log;
};

TEST_F(NetTransportTest, StoppingTheLinkDoesNotWaitForAHangingLookup) {
    CHeldNameService names;
    Link().SetHostResolver(names.Resolver({{}, "never asked for"}));
    Link().SetCommPortOverride("tcp://rack-ts.test:4001");
    std::thread([] {}).join();  // a sanitizer's runtime adds a thread of its own with the first
    const size_t fds = Entries("/proc/self/fd");
    const size_t threads = Entries("/proc/self/task");

    StartLink();
    ASSERT_TRUE(names.WaitFor(1, false)) << "the link never asked for the name";
    EXPECT_EQ(names.Hosts(), std::vector<std::string>{"rack-ts.test"});
    const auto stopping = Clock::now();
    StopLink();
    EXPECT_LT(Clock::now() - stopping, 500ms);

    // The lookup given up ends when its answer comes, and leaves nothing behind.
    names.Release();
    ASSERT_TRUE(names.WaitFor(1, true));
    const auto deadline = Clock::now() + 2s;
    while ((Entries("/proc/self/fd") != fds || Entries("/proc/self/task") != threads) &&
           Clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(Entries("/proc/self/fd"), fds);
    EXPECT_EQ(Entries("/proc/self/task"), threads);
}

TEST_F(NetTransportTest, ALateAnswerFromTheNameServiceIsTakenByTheNextAttempt) {
    CListener server(8);
    CHeldNameService names;
    Link().SetHostResolver(names.Resolver(server.Answer()));
    const std::string port = "tcp://rack-ts.test:" + std::to_string(server.Port());
    Link().SetCommPortOverride(port);

    const auto started = Clock::now();
    StartLink();
    ASSERT_TRUE(DispatchUntil([] { return !Link().State().LastFailure().Empty(); }, 5000ms));
    const auto waited = Clock::now() - started;
    EXPECT_GE(waited, 2900ms);
    EXPECT_LT(waited, 3800ms);
    EXPECT_EQ(LinkFailureText(Link().State().LastFailure()), port + ": no answer from the name service within 3 s");
    EXPECT_EQ(Link().State().Status(), LinkStatus::kReconnecting);
    EXPECT_TRUE(HasLine(port + ": reconnecting (" + LinkFailureText(Link().State().LastFailure()) + ")"));

    names.Release();
    ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); }, 3000ms));
    EXPECT_EQ(names.Hosts().size(), 1u) << "the name was looked up a second time";
    const int served = server.Accept(1000);
    ASSERT_GE(served, 0);
    SendCommand("TSDM\r\n");
    EXPECT_EQ(ReadSome(served, 2000), "TSDM\r\n");
    ::close(served);
}

TEST_F(NetTransportTest, AFailedLookupSaysWhyAndIsAskedAgain) {
    auto questions = std::make_shared<std::atomic<int>>(0);
    Link().SetHostResolver([questions](const std::string&, int) {
        ++*questions;
        return CLookupAnswer{{}, "Name or service not known"};
    });
    Link().SetCommPortOverride("rfc2217://nowhere.test:950");
    StartLink();
    ASSERT_TRUE(DispatchUntil([] { return !Link().State().LastFailure().Empty(); }, 2000ms));
    EXPECT_EQ(LinkFailureText(Link().State().LastFailure()),
              "rfc2217://nowhere.test:950: Name or service not known");
    // The pause before the next attempt is 1 s.
    ASSERT_TRUE(DispatchUntil([&] { return *questions >= 2; }, 2500ms));
}

TEST_F(NetTransportTest, AServerThatNeverTakesTheConnectionTimesOutInThreeSecondsAndIsTriedAgain) {
    CListener server(0);
    const int queued = server.FillQueue();
    ASSERT_GE(queued, 0);
    const std::string port = "tcp://127.0.0.1:" + std::to_string(server.Port());
    Link().SetCommPortOverride(port);

    const auto started = Clock::now();
    StartLink();
    EXPECT_EQ(Link().State().Status(), LinkStatus::kConnecting);
    ASSERT_TRUE(DispatchUntil([] { return !Link().State().LastFailure().Empty(); }, 6000ms));
    const auto failed = Clock::now();
    EXPECT_GE(failed - started, 2900ms);
    EXPECT_LT(failed - started, 3800ms);
    EXPECT_EQ(LinkFailureText(Link().State().LastFailure()), port + ": no answer within 3 s");
    EXPECT_EQ(Link().State().Status(), LinkStatus::kReconnecting);
    EXPECT_TRUE(HasLine(port + ": reconnecting (" + port + ": no answer within 3 s)"));

    // Room in the queue: the next attempt, a second later, gets through.
    const int first = server.Accept(0);
    ASSERT_GE(first, 0);
    ::close(first);
    ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); }, 3000ms));
    EXPECT_GE(Clock::now() - failed, 900ms);
    EXPECT_LT(Clock::now() - failed, 2000ms);
    const int served = server.Accept(1000);
    ASSERT_GE(served, 0);
    SendCommand("TSDM\r\n");
    EXPECT_EQ(ReadSome(served, 2000), "TSDM\r\n");
    ::close(served);
    ::close(queued);
}

}  // namespace
