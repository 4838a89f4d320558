#include "app/bus_search.h"

#include "link/reply_dispatch.h"

CBusSearch::CBusSearch(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
}

CBusSearch::~CBusSearch() {
    Stop();
}

void CBusSearch::Start(bool bRs485, int nTimeoutMs) {
    Stop();
    m_pScan = std::make_unique<CBusScan>(bRs485, nTimeoutMs);
    m_pScan->SetOnAnswer([this] {
        // Called while the link's replies are dispatched: move on afterwards.
        if (m_bRunning) QTimer::singleShot(0, this, [this] { Step(); });
        if (onAnswer) onAnswer();
    });
    m_bRunning = true;
    m_pScan->Start();
    if (onProgress) onProgress(0, m_pScan->Total());
    m_timer.start(m_pScan->MsUntilDue());
}

void CBusSearch::Stop() {
    m_timer.stop();
    m_bRunning = false;
    m_pScan.reset();
}

const std::vector<CScanAnswer>& CBusSearch::Answers() const {
    static const std::vector<CScanAnswer> s_none;
    return m_pScan ? m_pScan->Answers() : s_none;
}

void CBusSearch::Step() {
    if (!m_bRunning) return;
    DispatchReplies();  // an answer already queued counts before the time is up
    if (!m_bRunning) return;
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
