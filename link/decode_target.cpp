#include "link/decode_target.h"

#include "model/settings_model.h"

CDecodeTarget ModelTarget() {
    return {g_nSeqTime,
            g_strTitle,
            g_nTitlePosition,
            g_nInTitleDisp,
            g_nOutTitleDisp,
            g_nInCalendarDisp,
            g_nOutCalendarDisp,
            g_nPattern[0],
            std::span<OutputRow, kPatterns>(g_nPattern.data() + 1, kPatterns),
            g_nCurMemory,
            g_nDateFormat,
            nullptr};
}

CDecodeTarget CopyTarget(CReadBackCopy& copy) {
    CSettingsTables& t = copy.tables;
    return {t.m_nSeqTime,      t.m_strTitle,        t.m_nTitlePosition,   t.m_nInTitleDisp,
            t.m_nOutTitleDisp, t.m_nInCalendarDisp, t.m_nOutCalendarDisp, copy.directRow,
            t.m_nMemoryRows,   copy.nCurMemory,     t.m_nDateFormat,      &copy};
}
