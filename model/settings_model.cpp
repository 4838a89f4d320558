#include "model/settings_model.h"

std::array<std::string, kMaxInputs> g_strTitle;
std::array<OutputRow, kPatternRows> g_nPattern;
OutputTable g_nOutCalendarDisp;
InputTable g_nInCalendarDisp;
InputTable g_nTitlePosition;
OutputTable g_nOutTitleDisp;
InputTable g_nInTitleDisp;
std::array<InputTable, kPatterns> g_nSeqTime;
int g_nDateFormat = 0;
int g_nModel = 0;

int g_nCurSeqPattern = 0;
int g_nSameTime = 0;
int g_nCurChannel = 0;
int g_nCurOutput = 0;
int g_nCurMemory = 0;
int g_nSameChannel = 0;
int g_nSameOutCalendar = 0;
int g_nSameInCalendar = 0;
int g_nSamePosition = 0;
int g_nSameOutTitle = 0;
int g_nSameInTitle = 0;
int g_nSlaveAddress = 0;

std::string g_strFileName;
int g_bModified = 0;
int g_nSendStep = 0;
int g_bErrorReply = 0;

namespace {

void ResetTables() {
    for (auto& title : g_strTitle) title.clear();
    // Every row routes input n to output n.
    for (auto& row : g_nPattern) {
        for (int out = 0; out < kOutputs; ++out) row[out] = out;
    }
    g_nOutCalendarDisp.fill(1);
    g_nInCalendarDisp.fill(1);
    g_nTitlePosition.fill(1);
    g_nOutTitleDisp.fill(1);
    g_nInTitleDisp.fill(1);
    for (auto& pattern : g_nSeqTime) pattern.fill(3);
    g_nDateFormat = 0;
}

void ResetSelections() {
    g_nCurSeqPattern = 0;
    g_nSameTime = 2;  // shows "03"
    g_nCurChannel = 0;
    g_nCurOutput = 0;
    g_nCurMemory = 0;
    g_nSameChannel = 0;
    g_nSameOutCalendar = 1;
    g_nSameInCalendar = 1;
    g_nSamePosition = 1;
    g_nSameOutTitle = 1;
    g_nSameInTitle = 1;
    g_nSlaveAddress = 0;
}

}  // namespace

void ResetModelDefaults() {
    ResetTables();
    ResetSelections();
    g_strFileName.clear();
    g_bModified = 0;
}

int InputChannelCount() {
    return g_nModel * 32 + 32;
}
