#include "link/found_switchers.h"

#include <algorithm>
#include <filesystem>

namespace {

// A by-id link and its node are one device.
bool SamePort(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || (!a.empty() && std::filesystem::equivalent(a, b, ec));
}

}  // namespace

void CFoundSwitchers::Found(std::string port, bool bRs485, std::vector<CScanAnswer> answers) {
    m_strPort = std::move(port);
    m_bRs485 = bRs485;
    m_answers = std::move(answers);
}

std::optional<int> CFoundSwitchers::ModelAt(int nAddress, const std::string& port,
                                            bool bRs485) const {
    if (bRs485 != m_bRs485 || !SamePort(port, m_strPort)) return std::nullopt;
    for (const auto& answer : m_answers) {
        if (answer.nAddress == nAddress && answer.nModel >= 0) return answer.nModel;
    }
    return std::nullopt;
}

void CFoundSwitchers::Readdress(int nFrom, int nTo) {
    if (nFrom == nTo) return;
    auto at = [&](int address) {
        return std::find_if(m_answers.begin(), m_answers.end(),
                            [&](const CScanAnswer& a) { return a.nAddress == address; });
    };
    if (at(nFrom) == m_answers.end()) return;
    // Whoever answered at the new address before is not known to be there now.
    if (auto old = at(nTo); old != m_answers.end()) m_answers.erase(old);
    at(nFrom)->nAddress = nTo;
    std::sort(m_answers.begin(), m_answers.end(),
              [](const CScanAnswer& a, const CScanAnswer& b) { return a.nAddress < b.nAddress; });
}
