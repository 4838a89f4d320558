#include "model/settings_model.h"

CSettingsTables g_settings;

int g_nCurSeqPattern = 0;
int g_nSameTime = 0;
int g_nCurChannel = 0;
int g_nCurOutput = 0;
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

void ResetSelections() {
    g_nCurSeqPattern = 0;
    g_nSameTime = 2;  // shows "03"
    g_nCurChannel = 0;
    g_nCurOutput = 0;
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
    g_settings = DefaultSettingsTables(g_nModel);  // the editor's row too: "None"
    ResetSelections();
    g_strFileName.clear();
    g_bModified = 0;
}

int InputChannelCount() {
    return InputChannels(g_settings);
}
