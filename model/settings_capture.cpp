#include "model/settings_capture.h"

#include "model/settings_model.h"

CSettingsTables CaptureSettingsTables() {
    CSettingsTables t;
    t.m_nInTitleDisp = g_nInTitleDisp;
    t.m_nOutTitleDisp = g_nOutTitleDisp;
    t.m_nTitlePosition = g_nTitlePosition;
    t.m_nInCalendarDisp = g_nInCalendarDisp;
    t.m_nOutCalendarDisp = g_nOutCalendarDisp;
    t.m_nSeqTime = g_nSeqTime;
    for (int row = 1; row < kPatternRows; ++row) t.m_nMemoryRows[row - 1] = g_nPattern[row];
    t.m_nDateFormat = g_nDateFormat;
    t.m_nModel = g_nModel;
    t.m_strTitle = g_strTitle;
    return t;
}

void CommitSettingsTables(const CSettingsTables& t) {
    g_nInTitleDisp = t.m_nInTitleDisp;
    g_nOutTitleDisp = t.m_nOutTitleDisp;
    g_nTitlePosition = t.m_nTitlePosition;
    g_nInCalendarDisp = t.m_nInCalendarDisp;
    g_nOutCalendarDisp = t.m_nOutCalendarDisp;
    g_nSeqTime = t.m_nSeqTime;
    for (int row = 1; row < kPatternRows; ++row) g_nPattern[row] = t.m_nMemoryRows[row - 1];
    g_nDateFormat = t.m_nDateFormat;
    g_nModel = t.m_nModel;
    g_strTitle = t.m_strTitle;
}
