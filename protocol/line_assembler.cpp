#include "protocol/line_assembler.h"

void CLineAssembler::Feed(std::string_view bytes, const LineHandler& onLine) {
    for (char c : bytes) {
        if (m_bDropping) {
            m_bDropping = (c != '\n');
            continue;
        }
        m_line += c;
        if (c == '\n') {
            onLine(std::move(m_line));
            m_line.clear();
        } else if (m_line.size() >= kMaxLine) {
            m_line.clear();
            m_bDropping = true;
        }
    }
}

void CLineAssembler::Reset() {
    m_line.clear();
    m_bDropping = false;
}
