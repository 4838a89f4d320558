#include "link/bus_scan.h"

#include <algorithm>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "link/scan_port.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/rs485_frame.h"
#include "protocol/switcher_model.h"
#include "protocol/table_shapes.h"
#include "protocol/time_left.h"
#include "protocol/visible_text.h"

namespace {

std::vector<int> EveryAddress() {
    std::vector<int> all(kSlaveAddresses);
    for (int a = 0; a < kSlaveAddresses; ++a) all[static_cast<size_t>(a)] = a;
    return all;
}

// The program's link: its questions are owed replies like any line sent, and
// the dispatcher hands every line to the scan.
class CLinkScanLine : public IScanLine {
public:
    void Take(OnLine onLine) override {
        if (!onLine) {
            Link().SetReplyTaker({});
            return;
        }
        Link().SetReplyTaker(
            [onLine = std::move(onLine)](std::string_view line, const CAttribution& attribution) {
                onLine(line, attribution.Unsolicited());
            });
    }
    unsigned long Ask(const std::string& framed, int address) override {
        return SendFramed(framed, address);
    }
    void GiveUp(unsigned long id) override { Link().Owed().GiveUp(id); }
    void Poll() override { DispatchReplies(); }
};

// A connection of the scan's own: nobody else speaks on it, so every line
// after a question is an answer, but for the question coming back as it went.
class COwnScanLine : public IScanLine {
public:
    explicit COwnScanLine(CScanPort& port) : m_port(port) {}
    void Take(OnLine onLine) override { m_onLine = std::move(onLine); }
    unsigned long Ask(const std::string& framed, int) override {
        m_asked = framed;
        m_port.Write(framed);
        return ++m_nId;
    }
    void GiveUp(unsigned long) override {}
    void Poll() override {
        m_port.ReadLines([this](std::string_view line) {
            if (m_onLine) m_onLine(line, m_asked.empty() || line == m_asked);
        });
    }

private:
    CScanPort& m_port;
    OnLine m_onLine;
    std::string m_asked;
    unsigned long m_nId = 0;
};

}  // namespace

std::unique_ptr<IScanLine> ScanLineOn(CScanPort& port) {
    return std::make_unique<COwnScanLine>(port);
}

CBusScan::CBusScan(bool bRs485, int nTimeoutMs, std::vector<int> addresses,
                   std::unique_ptr<IScanLine> line)
    : m_pLine(line ? std::move(line) : std::make_unique<CLinkScanLine>()),
      m_bRs485(bRs485),
      m_timeout(std::max(nTimeoutMs, 1)) {
    if (!bRs485) {
        m_addresses = {-1};
    } else {
        m_addresses = addresses.empty() ? EveryAddress() : std::move(addresses);
    }
}

CBusScan::~CBusScan() {
    if (!m_bStarted) return;
    m_pLine->Take({});
    if (m_bWaiting) m_pLine->GiveUp(m_nAskedId);
}

void CBusScan::Start(Clock::time_point now) {
    if (m_bStarted) return;
    m_bStarted = true;
    m_pLine->Take([this](std::string_view line, bool bUnsolicited) {
        // On RS-232C nothing tells a stray line from an answer but the
        // questions owed; on RS-485 the address echo says who answers.
        if (m_bRs485 || !bUnsolicited) OnLine(line);
    });
    Ask(now);
}

void CBusScan::Ask(Clock::time_point now) {
    const int address = m_addresses[static_cast<size_t>(m_nAsked)];
    ++m_nAsked;
    m_bWaiting = true;
    m_deadline = now + m_timeout;
    // Framed for the address asked, and no reply marked as awaited: a silent
    // address is no lost connection.
    m_nAskedId = m_pLine->Ask(FrameLine(address, ModelProbeCommand()), address);
}

bool CBusScan::Step(Clock::time_point now) {
    if (!m_bStarted) return false;
    if (m_bWaiting && now < m_deadline) return true;
    // Its answer is still owed: should it come late, it is known for this
    // address's, and not taken for the answer to any line after.
    if (m_bWaiting) m_pLine->GiveUp(m_nAskedId);
    m_bWaiting = false;
    if (m_nAsked == Total()) return false;
    Ask(now);
    return true;
}

int CBusScan::MsUntilDue(Clock::time_point now) const {
    if (!m_bStarted || Done()) return -1;
    if (!m_bWaiting) return 0;
    return MsUntil(m_deadline, now);
}

bool CBusScan::WasAsked(int nAddress) const {
    auto asked = m_addresses.begin() + m_nAsked;
    return std::find(m_addresses.begin(), asked, nAddress) != asked;
}

void CBusScan::OnLine(std::string_view line) {
    int address = -1;
    if (m_bRs485) {
        // The address echo says who answers, so a late answer is not taken for
        // the next address's.
        const auto split = SplitAddress(line);
        if (!split) return;
        address = split->nAddress;
        line = split->rest;
    }
    if (!WasAsked(address)) return;
    for (const auto& known : m_answers) {
        if (known.nAddress == address) return;
    }
    Record(address, LineBody(line));
    if (m_bWaiting && address == m_addresses[static_cast<size_t>(m_nAsked - 1)]) {
        m_bWaiting = false;
    }
    if (m_onAnswer) m_onAnswer();
}

void CBusScan::Record(int nAddress, std::string_view body) {
    CScanAnswer answer{nAddress, ModelOfTitlePositionData(body).value_or(-1), std::string(body)};
    auto at = std::find_if(m_answers.begin(), m_answers.end(),
                           [&](const CScanAnswer& a) { return a.nAddress > nAddress; });
    m_answers.insert(at, std::move(answer));
}

namespace {

void RunToEnd(CBusScan& scan, const std::function<void(int, int)>& progress) {
    scan.Start();
    int reported = 0;
    while (!scan.Done()) {
        WaitForReplies(scan.MsUntilDue());
        scan.Step();
        // The address before the one asked now is settled.
        const int settled = scan.Done() ? scan.Total() : scan.Asked() - 1;
        if (progress && settled > reported) progress(reported = settled, scan.Total());
    }
}

}  // namespace

std::vector<CScanAnswer> RunBusScan(bool bRs485, int nTimeoutMs,
                                    const std::function<void(int, int)>& progress) {
    CBusScan scan(bRs485, nTimeoutMs);
    RunToEnd(scan, progress);
    return scan.Answers();
}

std::optional<CScanAnswer> ProbeSwitcher(int nTimeoutMs) {
    CBusScan scan(g_bRs485 != 0, nTimeoutMs, {g_nSlaveAddress});
    RunToEnd(scan, {});
    if (scan.Answers().empty()) return std::nullopt;
    return scan.Answers().front();
}

std::string PrintableReply(const CScanAnswer& answer) {
    return VisibleText(answer.strReply);
}

std::string AnswerModelText(const CScanAnswer& answer) {
    if (answer.nModel >= 0) return ModelName(answer.nModel);
    return "unknown (" + PrintableReply(answer) + ")";
}

std::string SwitcherWhere() {
    std::string where = Link().Port() ? Link().Port()->Description() : CommPortPath();
    if (g_bRs485) where += " address " + TwoDigits(g_nSlaveAddress);
    return where;
}
