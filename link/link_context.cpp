#include "link/link_context.h"

#include <sys/eventfd.h>
#include <unistd.h>

CLinkContext::~CLinkContext() {
    ClosePort();
}

void CLinkContext::NoteSent(std::string_view framedLine) {
    ++m_nLinesSent;
    m_sent.Notify(framedLine);
}

void CLinkContext::NoteReceived(std::string_view line) {
    m_received.Notify(line);
    ++m_nRepliesInterpreted;
}

void CLinkContext::ReadIntoCopy(const CSettingsTables& start) {
    m_pReadCopy = std::make_unique<CReadBackCopy>();
    m_pReadCopy->m_tables = start;
}

void CLinkContext::AdoptPort(std::unique_ptr<ITransport> port, int wakeFd) {
    ClosePort();
    m_pPort = std::move(port);
    m_nWakeFd = wakeFd;
}

void CLinkContext::ClosePort() {
    if (m_pPort) m_pPort->Close();
    m_pPort.reset();
    if (m_nWakeFd >= 0) ::close(m_nWakeFd);
    m_nWakeFd = -1;
}

void CLinkContext::WakeIoThread() const {
    if (m_nWakeFd >= 0) ::eventfd_write(m_nWakeFd, 1);
}

void CLinkContext::Reset() {
    ClosePort();
    m_writer.Reset();
    m_replies.Clear();
    m_replies.ConsumeReady();
    m_sent.Clear();
    m_received.Clear();
    m_tap = {};
    m_taker = {};
    m_nLinesSent = 0;
    m_nRepliesInterpreted = 0;
    m_bDispatching = false;
    m_receivedAt = {};
    m_owed.Reset();
    m_lastFault.reset();
    m_lastAnswer = {0, AnswerKind::kUnsolicited};
    m_nEchoes = 0;
    m_nUnreadable = 0;
    m_nNoConnects = 0;
    m_pReadCopy.reset();
    m_bReplyPaced = false;
    m_state.Reset();
    m_found.Clear();
    m_strProfilePath.clear();
    m_strPortOverride.clear();
    m_resolver = ResolveHost;
}

CLinkContext& Link() {
    static CLinkContext s_link;
    return s_link;
}
