#include "link/serial_port.h"

#include <sys/eventfd.h>

#include <cerrno>
#include <functional>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/net_transport.h"
#include "link/port_name.h"
#include "link/tty_transport.h"

int g_hComm = -1;

int CreateWakeEvent() {
    return ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

namespace {

// A name that is neither a device nor a server's address: it fails as a
// missing device does, with the reason, and nothing waits for it to return.
class CBadNameTransport : public ITransport {
public:
    CBadNameTransport(std::string name, std::string path, std::string why)
        : m_name(std::move(name)), m_why(CLinkFailure::BadName(std::move(path), std::move(why))) {}
    std::string Description() const override { return m_name; }
    COpenResult Open() override { return {false, m_why}; }
    void Close() override {}
    bool IsOpen() const override { return false; }
    int PollFd() const override { return -1; }
    bool SetNonBlocking() override { return false; }
    bool SetReadTimeouts() override { return false; }
    bool ApplyLineSettings(const CLineSettings&) override { return false; }
    std::optional<CLineSettings> ReadLineSettings() const override { return std::nullopt; }
    bool Discard(Queue) override { return false; }
    size_t OutputQueued() const override { return 0; }
    CIoResult Read(std::span<char>) override { return {IoStatus::kFailed, 0, ENODEV}; }
    CIoResult Write(std::string_view) override { return {IoStatus::kFailed, 0, ENODEV}; }

private:
    std::string m_name;
    CLinkFailure m_why;
};

}  // namespace

std::unique_ptr<ITransport> MakeCommTransport() {
    return MakeTransport(CommPortName(), CommPortPath());
}

std::unique_ptr<ITransport> MakeTransport(const std::string& name, const std::string& path) {
    std::string error;
    const std::optional<CPortName> parsed = ParsePortName(path, &error);
    if (!parsed) {
        return std::make_unique<CBadNameTransport>(name.empty() ? path : name + " " + path, path,
                                                   error);
    }
    if (IsNetworkPort(*parsed)) {
        return std::make_unique<CNetTransport>(name, *parsed, Link().Resolver());
    }
    return std::make_unique<CTtyTransport>(name, path);
}

CSetupResult SetUpPort(ITransport& port, SetupReport report) {
    const std::pair<SetupStep, std::function<bool()>> steps[] = {
        {SetupStep::kMask, [&] { return port.SetNonBlocking(); }},
        {SetupStep::kBuffer, [&] { return port.Discard(Queue::kBoth); }},
        {SetupStep::kTimeOut, [&] { return port.SetReadTimeouts(); }},
        {SetupStep::kCommState, [&] { return port.ApplyLineSettings(kSwitcherLine); }},
    };
    CSetupResult setup;
    for (const auto& [step, perform] : steps) {
        if (perform()) continue;
        setup.failures.push_back({step, {}});
        report(setup.failures.back());  // before the next step is tried
    }
    return setup;
}

namespace {

CSetupResult OpenDevice(ITransport& port, SetupReport report) {
    const COpenResult opened = port.Open();
    g_hComm = port.PollFd();
    CSetupResult setup;
    if (!opened.bOpen) {
        setup.failures.push_back({SetupStep::kOpen, opened.failure});
        report(setup.failures.back());
    }
    const CSetupResult steps = SetUpPort(port, report);
    setup.failures.insert(setup.failures.end(), steps.failures.begin(), steps.failures.end());
    Link().State().Begin(port.Description(), false,
                         opened.bOpen ? LinkStatus::kConnected : LinkStatus::kWaiting,
                         opened.failure);
    return setup;
}

}  // namespace

CSetupResult OpenCommPort(WakeEventCreator createWakeEvent, SetupReport report) {
    CLinkContext& link = Link();
    const int wakeFd = createWakeEvent();
    link.AdoptPort(MakeCommTransport(), wakeFd);
    ITransport& port = *link.Port();
    if (!port.OpensInBackground()) return OpenDevice(port, report);
    // Connecting may take seconds: the I/O thread does it; the line settings
    // go to the server once it answers.
    port.ApplyLineSettings(kSwitcherLine);
    g_hComm = -1;
    link.State().Begin(port.Description(), true, LinkStatus::kConnecting);
    return {};
}

void CloseCommHandles() {
    Link().ClosePort();
    Link().State().End();
    g_hComm = -1;
}

void ApplyPortEvent(const CPortEvent& event) {
    if (event.kind == CPortEvent::Kind::kConnected) g_hComm = event.fd;
    if (event.kind == CPortEvent::Kind::kLost) g_hComm = -1;
    if (event.kind == CPortEvent::Kind::kConnected || event.kind == CPortEvent::Kind::kLost) {
        // What the switcher owed went with the port: a line it still had to
        // answer is not answered now, and what comes after the port is back
        // (a device's buffer, a server's backlog) answers nothing sent since.
        Link().Owed().Forget();
        g_bAwaitingReply = 0;
        g_nNoReplyTicks = 0;
    }
    Link().State().Apply(event);
}
