#include "tests/support/ser2net_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

constexpr char kSer2net[] = "/usr/sbin/ser2net";

template <class Pred>
bool Within(int timeoutMs, Pred pred) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

int FreeTcpPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("no free TCP port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

// From the kernel's table, so that looking opens no connection (a connection
// would make ser2net open the device).
bool Listening(int port) {
    std::ifstream table("/proc/net/tcp");
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    std::string line;
    while (std::getline(table, line)) {
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos) {
            return true;
        }
    }
    return false;
}

CSer2net::CSer2net(const std::string& device) : m_device(device) {
    if (::access(kSer2net, X_OK) != 0) throw std::runtime_error("ser2net is not installed");
    m_nRaw = FreeTcpPort();
    m_nTelnet = FreeTcpPort();
    while (m_nTelnet == m_nRaw) m_nTelnet = FreeTcpPort();
    const std::string connector = "  connector: serialdev," + device + ",9600e81,local\n";
    // What each client's connection wrote to the device, as ser2net saw it.
    const std::string trace = "  options:\n    trace-write: " + m_dir.File("to-device.log") + "\n";
    WriteFileText(m_dir.File("ser2net.yaml"),
                  "%YAML 1.1\n---\n"
                  "connection: &raw\n  accepter: tcp,127.0.0.1," +
                      std::to_string(m_nRaw) + "\n" + connector + trace +
                      "connection: &rfc2217\n  accepter: telnet(rfc2217),tcp,127.0.0.1," +
                      std::to_string(m_nTelnet) + "\n" + connector + trace);
    Start();
}

CSer2net::~CSer2net() {
    Stop();
}

std::string CSer2net::RawPort() const {
    return "tcp://127.0.0.1:" + std::to_string(m_nRaw);
}

std::string CSer2net::Rfc2217Port() const {
    return "rfc2217://127.0.0.1:" + std::to_string(m_nTelnet);
}

void CSer2net::Start() {
    if (m_pid > 0) return;
    const std::string config = m_dir.File("ser2net.yaml");
    const std::string log = m_dir.File("ser2net.log");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const char* argv[] = {kSer2net, "-n", "-d", "-c", config.c_str(), nullptr};
    const int spawned =
        posix_spawn(&m_pid, kSer2net, &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_pid = -1;
        throw std::runtime_error("ser2net did not start");
    }
    if (!Within(5000, [this] { return Listening(m_nRaw) && Listening(m_nTelnet); })) {
        Stop();
        throw std::runtime_error("ser2net does not listen: " + Log());
    }
}

void CSer2net::Stop() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

bool CSer2net::WaitIdle(int timeoutMs) const {
    if (m_pid <= 0) return true;
    std::error_code error;
    const auto device = std::filesystem::canonical(m_device, error);
    const std::string fds = "/proc/" + std::to_string(m_pid) + "/fd";
    return Within(timeoutMs, [&] {
        for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
            std::error_code ignored;
            if (std::filesystem::read_symlink(entry.path(), ignored) == device) return false;
        }
        return true;
    });
}

std::string CSer2net::WrittenToDevice() const {
    const std::string path = m_dir.File("to-device.log");
    return ::access(path.c_str(), R_OK) == 0 ? ReadFileText(path) : std::string();
}

std::string CSer2net::Log() const {
    return ReadFileText(m_dir.File("ser2net.log"));
}
