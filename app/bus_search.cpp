#include "app/bus_search.h"

#include <QSocketNotifier>

#include "link/scan_port.h"

namespace {

constexpr int kConnectPollMs = 50;

}  // namespace

CBusSearch::CBusSearch(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
    m_connectTimer.setInterval(kConnectPollMs);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] { WatchConnecting(); });
}

CBusSearch::~CBusSearch() {
    Stop();
}

void CBusSearch::Start(bool bRs485, int nTimeoutMs) {
    Stop();
    m_bRs485 = bRs485;
    m_nTimeoutMs = nTimeoutMs;
    m_bRunning = true;
    Begin(nullptr);
}

void CBusSearch::StartOn(const std::string& path, bool bRs485, int nTimeoutMs) {
    Stop();
    m_bRs485 = bRs485;
    m_nTimeoutMs = nTimeoutMs;
    m_bRunning = true;
    m_pPort = std::make_unique<CScanPort>(path);
    if (m_pPort->Open() == CScanPort::Status::kConnecting) {
        if (onConnecting) onConnecting();
        m_connectTimer.start();
        return;
    }
    WatchConnecting();
}

// A server's connection is looked at now and then until it is made or refused.
void CBusSearch::WatchConnecting() {
    switch (m_pPort->Continue()) {
        case CScanPort::Status::kConnecting:
            return;
        case CScanPort::Status::kFailed:
            Fail();
            return;
        case CScanPort::Status::kOpen:
            break;
    }
    m_connectTimer.stop();
    m_pPortNotifier = new QSocketNotifier(m_pPort->PollFd(), QSocketNotifier::Read, this);
    connect(m_pPortNotifier, &QSocketNotifier::activated, this, [this] { OnPortReadable(); });
    Begin(ScanLineOn(*m_pPort));
}

void CBusSearch::Begin(std::unique_ptr<IScanLine> line) {
    m_pScan =
        std::make_unique<CBusScan>(m_bRs485, m_nTimeoutMs, std::vector<int>{}, std::move(line));
    m_pScan->SetOnAnswer([this] {
        // Called while the replies are handed over: move on afterwards.
        if (m_bRunning) QTimer::singleShot(0, this, [this] { Step(); });
        if (onAnswer) onAnswer();
    });
    m_pScan->Start();
    if (onProgress) onProgress(0, m_pScan->Total());
    m_timer.start(m_pScan->MsUntilDue());
}

void CBusSearch::OnPortReadable() {
    if (!m_pScan) return;
    m_pScan->Poll();
    if (m_pPort->State() == CScanPort::Status::kFailed) Fail();
}

// The answers so far stay listed; the scan ends with the connection.
void CBusSearch::Fail() {
    const CLinkFailure failure = m_pPort->Failure();
    m_timer.stop();
    m_connectTimer.stop();
    if (m_pPortNotifier) m_pPortNotifier->setEnabled(false);
    m_bRunning = false;
    if (onFailed) onFailed(failure);
}

void CBusSearch::Stop() {
    m_timer.stop();
    m_connectTimer.stop();
    m_bRunning = false;
    m_pScan.reset();
    delete m_pPortNotifier;
    m_pPortNotifier = nullptr;
    m_pPort.reset();
}

const std::vector<CScanAnswer>& CBusSearch::Answers() const {
    static const std::vector<CScanAnswer> s_none;
    return m_pScan ? m_pScan->Answers() : s_none;
}

void CBusSearch::Step() {
    if (!m_bRunning) return;
    m_pScan->Poll();  // an answer already received counts before the time is up
    if (!m_bRunning) return;
    if (m_pPort && m_pPort->State() == CScanPort::Status::kFailed) {
        Fail();
        return;
    }
    const bool going = m_pScan->Step();
    const int settled = going ? m_pScan->Asked() - 1 : m_pScan->Total();
    if (onProgress) onProgress(settled, m_pScan->Total());
    if (going) {
        m_timer.start(m_pScan->MsUntilDue());
        return;
    }
    m_bRunning = false;
    m_timer.stop();
    if (onFinished) onFinished();
}
