#include "videohub/block_assembler.h"

CBlockAssembler::Fed CBlockAssembler::Feed(std::string_view bytes,
                                           std::vector<CVideohubBlock>& out) {
    for (char c : bytes) {
        const bool afterCr = m_bAfterCr;
        m_bAfterCr = c == '\r';
        if (c == '\n' && afterCr) continue;  // the LF of a CR LF already ended the line
        if (c == '\r' || c == '\n') {
            if (!EndLine(out)) return Fed::kOverflow;
            continue;
        }
        if (m_line.size() >= kMaxVideohubLine) return Fed::kOverflow;
        m_line += c;
    }
    return Fed::kOk;
}

bool CBlockAssembler::EndLine(std::vector<CVideohubBlock>& out) {
    std::string line = std::move(m_line);
    m_line.clear();
    if (!m_bInBlock) {
        if (line.empty()) return true;
        m_block = {};
        m_block.strHeader = std::move(line);
        m_bInBlock = true;
        return true;
    }
    if (line.empty()) {
        out.push_back(std::move(m_block));
        m_block = {};
        m_bInBlock = false;
        return true;
    }
    if (m_block.lines.size() >= kMaxVideohubBlockLines) return false;
    m_block.lines.push_back(std::move(line));
    return true;
}
