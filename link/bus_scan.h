// Finding the switchers on the line. Each RS-485 slave address 00..31 in turn
// (or the one switcher on RS-232C) is asked for its title positions, a read
// that changes nothing, and each that answers is listed with its model, which
// the length of its answer tells. From Start until the scan is destroyed every
// received line goes to it rather than to the reply interpreter: the settings
// model keeps its values, even when an answer comes late, and the connection
// monitor is not armed by the questions.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Time each address is given to answer. At 9600 baud (11 bits a byte) the
// question and a 64-input answer take 9 ms and 81 ms on the wire; the virtual
// switcher answers within a millisecond. 120 ms leaves 30 ms for the switcher
// itself and keeps a scan of all 32 addresses under 4 s.
inline constexpr int kDefaultScanTimeoutMs = 120;
// A single probe before a run waits longer: nothing else is waiting for it.
inline constexpr int kModelProbeTimeoutMs = 1000;

struct CScanAnswer {
    int nAddress = -1;     // 00..31 on RS-485, -1 for the switcher on RS-232C
    int nModel = -1;       // 0 = Qelvar-32, 1 = Qelvar-64, -1 when the answer did not say
    std::string strReply;  // what it answered, without address and CR LF

    bool operator==(const CScanAnswer&) const = default;
};

class CScanPort;

// Where a scan's questions go and its answers come from: the program's link,
// or a connection of the scan's own.
class IScanLine {
public:
    // A received line, and whether it answers nothing that was asked.
    using OnLine = std::function<void(std::string_view line, bool bUnsolicited)>;
    virtual ~IScanLine() = default;
    // From now on every received line goes to onLine; empty gives them back.
    virtual void Take(OnLine onLine) = 0;
    // Sends a question framed for address; the id its answer is owed under.
    virtual unsigned long Ask(const std::string& framed, int address) = 0;
    // The question's time is up: a late answer is still known for its own.
    virtual void GiveUp(unsigned long id) = 0;
    // Hands over the lines received so far.
    virtual void Poll() = 0;
};

// The scan's questions on a connection of its own, which must be open.
std::unique_ptr<IScanLine> ScanLineOn(CScanPort& port);

class CBusScan {
public:
    using Clock = std::chrono::steady_clock;

    // bRs485: ask each of addresses (all 32 when empty); otherwise ask once.
    // line: where to ask; the program's link when not given.
    CBusScan(bool bRs485, int nTimeoutMs, std::vector<int> addresses = {},
             std::unique_ptr<IScanLine> line = nullptr);
    ~CBusScan();
    CBusScan(const CBusScan&) = delete;
    CBusScan& operator=(const CBusScan&) = delete;

    // Takes the link's replies and asks the first address.
    void Start(Clock::time_point now = Clock::now());
    // Asks the next address once the one asked has answered or its time is
    // up. False once every address has been asked and the last one's time is over.
    bool Step(Clock::time_point now = Clock::now());
    // Milliseconds until Step has something to do; -1 when the scan is over.
    int MsUntilDue(Clock::time_point now = Clock::now()) const;
    bool Done() const { return m_bStarted && m_nAsked == Total() && !m_bWaiting; }

    // A received line, as the link hands it over.
    void OnLine(std::string_view line);
    // Called after an answer has been recorded (to move on at once).
    void SetOnAnswer(std::function<void()> onAnswer) { m_onAnswer = std::move(onAnswer); }

    // Hands over what the line has received (before Step, to count it in time).
    void Poll() { m_pLine->Poll(); }

    int Asked() const { return m_nAsked; }
    int Total() const { return static_cast<int>(m_addresses.size()); }
    // Everyone that has answered, by address.
    const std::vector<CScanAnswer>& Answers() const { return m_answers; }

private:
    void Ask(Clock::time_point now);
    bool WasAsked(int nAddress) const;
    void Record(int nAddress, std::string_view body);

    std::unique_ptr<IScanLine> m_pLine;
    bool m_bRs485;
    std::chrono::milliseconds m_timeout;
    std::vector<int> m_addresses;  // -1 alone on RS-232C
    int m_nAsked = 0;
    bool m_bStarted = false;
    bool m_bWaiting = false;       // for the address asked last
    unsigned long m_nAskedId = 0;  // its question, as the link owes it
    Clock::time_point m_deadline{};
    std::vector<CScanAnswer> m_answers;
    std::function<void()> m_onAnswer;
};

// A whole scan on this thread, waiting on the link's replies. progress, when
// given, is told after each address (asked, total).
std::vector<CScanAnswer> RunBusScan(bool bRs485, int nTimeoutMs,
                                    const std::function<void(int, int)>& progress = {});

// The switcher the program talks to now (g_bRs485, g_nSlaveAddress): its
// answer, or nothing when it gave none within nTimeoutMs.
std::optional<CScanAnswer> ProbeSwitcher(int nTimeoutMs = kModelProbeTimeoutMs);

// The answer as VisibleText shows it (a garbled one may hold anything).
std::string PrintableReply(const CScanAnswer& answer);
// "Qelvar-64", or "unknown (MENU)" when the answer did not tell the model.
std::string AnswerModelText(const CScanAnswer& answer);

// The switcher the program talks to, for messages: "COM1 /dev/ttyUSB0 address 05"
// (the address on RS-485 only).
std::string SwitcherWhere();
