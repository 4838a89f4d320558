// qelvarctl in front of a device or a profile that sends terminal controls:
// what reaches stdout and stderr shows them as text, on every path a reply or
// a profile value takes.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/cli/run_process.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;

// Retitles the window, clears the screen, and carries a NUL and an 8-bit CSI.
const std::string kHostile = "\x1b]0;owned\x07\x1b[2J\0G\x9bO"s;
const std::string kHostileShown = R"(\x1b]0;owned\x07\x1b[2J\x00G\x9bO)";

// A device on a pseudo-terminal that answers every line it is sent with `reply`.
class CHostileDevice {
public:
    explicit CHostileDevice(std::string reply) : m_reply(std::move(reply)) {
        m_thread = std::thread([this] { Serve(); });
    }
    ~CHostileDevice() {
        m_stop = true;
        m_thread.join();
    }
    const std::string& Path() const { return m_pty.SlavePath(); }

private:
    void Serve() {
        std::string heard;
        while (!m_stop) {
            pollfd pfd{m_pty.Master(), POLLIN, 0};
            char buf[256];
            // With nobody on the other side the master reports a hang-up: wait.
            ssize_t n = ::poll(&pfd, 1, 20) > 0 ? ::read(m_pty.Master(), buf, sizeof buf) : 0;
            if (n <= 0) {
                if (pfd.revents & POLLHUP) ::usleep(20000);
                continue;
            }
            heard.append(buf, static_cast<size_t>(n));
            for (size_t end; (end = heard.find('\n')) != std::string::npos;) {
                heard.erase(0, end + 1);
                (void)!::write(m_pty.Master(), m_reply.data(), m_reply.size());
            }
        }
    }

    CPtyPair m_pty;
    std::string m_reply;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Whether text holds what a terminal would obey: a C0 control other than LF,
// DEL, or the 8-bit CSI of the hostile reply (0x9B alone is also a UTF-8
// continuation byte, so only that one is looked for).
bool HasControl(const std::string& text) {
    for (unsigned char c : text) {
        if ((c < 0x20 && c != '\n') || c == 0x7F) return true;
    }
    return text.find("\x9bO") != std::string::npos;
}

class TerminalTextTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }
    static CProcessResult Ctl(const std::vector<std::string>& args) {
        return RunProcess(QELVARCTL_PATH, args, 60000);
    }
    CTempDir dir;
};

TEST_F(TerminalTextTest, ARepliedLineShowsItsControlsOnStdoutAndInVerbose) {
    CHostileDevice device(kHostile + "\r\n");
    auto line = Ctl({"--port", device.Path(), "--rs232", "line", "TSDY"});
    EXPECT_EQ(line.status, 3) << line.err;  // not a reply the switcher gives
    EXPECT_EQ(line.out, kHostileShown + "\n");
    EXPECT_FALSE(HasControl(line.err)) << line.err;

    auto verbose = Ctl({"--port", device.Path(), "--rs232", "--verbose", "line", "TSDY"});
    EXPECT_EQ(verbose.out, kHostileShown + "\n");
    EXPECT_NE(verbose.err.find(" > TSDY<CR><LF>\n"), std::string::npos) << verbose.err;
    EXPECT_NE(verbose.err.find(" < " + kHostileShown + "<CR><LF>\n"), std::string::npos)
        << verbose.err;
    EXPECT_FALSE(HasControl(verbose.err)) << verbose.err;
}

TEST_F(TerminalTextTest, AScanAnswerThatIsNoModelShowsItsControls) {
    CHostileDevice device(kHostile + "\r\n");
    auto scan = Ctl({"--port", device.Path(), "--rs232", "scan"});
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_EQ(scan.out, "unknown (" + kHostileShown + ")\n");
}

TEST_F(TerminalTextTest, ProfileValuesShowTheirControlsInTheListAndInMessages) {
    const std::string profile = dir.File("hostile.ini");
    WriteFileText(profile,
                  "[Qelvar-32_Section]\ncom_port=\x1b[2J\n[Ports]\nCOM2=/dev/\x1b]0;x\x07"
                  "a\n");
    auto ports = Ctl({"--profile", profile, "ports"});
    EXPECT_EQ(ports.status, 0) << ports.err;
    EXPECT_NE(ports.out.find("  COM2  /dev/\\x1b]0;x\\x07a\n"), std::string::npos) << ports.out;
    EXPECT_FALSE(HasControl(ports.out)) << ports.out;
    EXPECT_EQ(ports.err, "qelvarctl: profile " + profile +
                             R"(: com_port=\x1b[2J ignored (not a whole number), 0 used)" + "\n");

    // A run quotes the port the profile names when it cannot be opened.
    WriteFileText(profile, "[Ports]\nCOM1=/dev/qelvar-\x1b[2J\n");
    auto run = Ctl({"--profile", profile, "line", "TSDY"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(R"(/dev/qelvar-\x1b[2J)"), std::string::npos) << run.err;
    EXPECT_FALSE(HasControl(run.err)) << run.err;
}

// The link's changes stay in English on qelvarctl's --verbose, whatever the
// program says in its own log.
TEST_F(TerminalTextTest, VerboseTellsALostPortInEnglish) {
    CPtyPair pty;
    CProcessResult run;
    std::thread ctl([&] {
        run = Ctl({"--port", pty.SlavePath(), "--rs232", "--verbose", "line", "TSDY"});
    });
    const std::string heard = pty.Read(6, 10000);
    pty.CloseMaster();  // the cable is pulled before the answer
    ctl.join();
    EXPECT_EQ(heard, "TSDY\r\n");
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.err.find(" ! " + pty.SlavePath() + ": lost ("), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("), waiting for the port\n"), std::string::npos) << run.err;
}

}  // namespace
