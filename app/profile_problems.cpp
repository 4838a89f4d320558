#include "app/profile_problems.h"

#include <algorithm>

#include "sink/message_sink.h"

std::string ProfileFaultText(const CProfileFault& fault) {
    const char* what =
        fault.kind == CProfileFault::Kind::kRead ? " を読めません (" : " に書き込めません (";
    return "プロファイル " + fault.strPath + what + fault.strReason + ")";
}

bool CProfileProblems::Noted(const CProfileFault& fault) {
    if (std::find(m_noted.begin(), m_noted.end(), fault) != m_noted.end()) return true;
    m_noted.push_back(fault);
    return false;
}

void CProfileProblems::NotRead(const CProfileFault& fault, bool bDefaultPort) {
    if (Noted(fault)) return;
    std::string note = ProfileFaultText(fault) + "。既定の設定で動作します";
    if (bDefaultPort) note += " (ポートは COM1 の既定の " + DefaultPortPath(0) + ")";
    m_log.AddNote(note);
}

void CProfileProblems::NotKept(const CProfileFault& fault, const std::string& setting) {
    Noted(fault);
    m_log.AddNote(ProfileFaultText(fault) + ": " + setting + "は保存されません");
    ShowWarning(setting + "を保存できません。終了するまで有効です。\n" + ProfileFaultText(fault));
}

void CProfileProblems::NoteOnce(const CProfileFault& fault, const std::string& what) {
    if (Noted(fault)) return;
    m_log.AddNote(ProfileFaultText(fault) + ": " + what + "は記憶されません");
}
