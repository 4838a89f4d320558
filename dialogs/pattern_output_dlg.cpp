#include "dialogs/pattern_output_dlg.h"

#include "batch/cycle_steps.h"
#include "editors/pattern_output_send.h"
#include "editors/table_grid.h"
#include "model/settings_model.h"
#include "res/editor_dialogs.h"

CPatternOutputDlg::CPatternOutputDlg(QWidget* parent)
    : CTableEditorDlg(PatternOutputTemplate(), "出力切換え File Name ", IDC_OUT_TABLE,
                      IDC_OUT_COUNTER, parent) {
    Select(IDC_OUT_MEMORY, g_nCurMemory);
    Select(IDC_OUT_OUTPUT, g_nCurOutput);
    // After trimming, a list index is the source code on either model.
    TrimInputsToModel(IDC_OUT_CHANNEL, 32);
    TrimInputsToModel(IDC_OUT_SAME_CHANNEL, 32);
    ShowCurrentCell();
    Select(IDC_OUT_SAME_CHANNEL, g_nSameChannel);

    OnGuardedSelection(IDC_OUT_MEMORY, [this](int i) { OnSelchangeMemory(i); });
    OnGuardedSelection(IDC_OUT_OUTPUT, [this](int i) { OnSelchangeOutput(i); });
    OnGuardedSelection(IDC_OUT_CHANNEL, [this](int i) { OnSelchangeChannel(i); });
    OnGuardedSelection(IDC_OUT_SAME_CHANNEL, [this](int i) { OnSelchangeSameChannel(i); });
    OnGuardedClick(IDC_OUT_SWITCH, [this] { OnSwitch(); });
    OnGuardedClick(IDC_SET, [this] { OnSet(); });
    OnGuardedClick(IDC_ALL_SET, [this] { StartCycle(MemoryPatternSteps()); });
}

int CPatternOutputDlg::GridEntryCount() const {
    return kOutputs;
}

std::string CPatternOutputDlg::GridCellText(int i) const {
    return OutputCellText(i, g_nPattern[g_nCurMemory][i], InputChannelCount());
}

// The cells are the outputs; Page Up / Page Down step through "None" and the
// memories.
CGridLists CPatternOutputDlg::GridLists() const {
    return {.nEntryList = IDC_OUT_OUTPUT,
            .nEntry = g_nCurOutput,
            .nPageList = IDC_OUT_MEMORY,
            .nPage = g_nCurMemory};
}

void CPatternOutputDlg::ShowCurrentCell() {
    Select(IDC_OUT_CHANNEL, g_nPattern[g_nCurMemory][g_nCurOutput]);
}

void CPatternOutputDlg::OnSelchangeMemory(int index) {
    g_nCurMemory = index;  // 0 = "None", the direct-switching row
    RepaintGrid();
    ShowCurrentCell();
}

void CPatternOutputDlg::OnSelchangeOutput(int index) {
    g_nCurOutput = index;
    ShowCurrentCell();  // the grid shows nothing new
}

void CPatternOutputDlg::OnSelchangeChannel(int index) {
    g_nPattern[g_nCurMemory][g_nCurOutput] = index;
    RepaintGrid();
    g_bModified = 1;
}

void CPatternOutputDlg::OnSelchangeSameChannel(int index) {
    g_nSameChannel = index;
    g_nPattern[g_nCurMemory].fill(index);
    RepaintGrid();
    ShowCurrentCell();
    g_bModified = 1;
}

void CPatternOutputDlg::OnSwitch() {
    if (g_nCurMemory == 0) {
        SendOutputs();
    } else {
        SendMemoryRecall(g_nCurMemory);  // the switcher recalls what it stored
    }
}

// With "None" selected there is no memory to store.
void CPatternOutputDlg::OnSet() {
    SendMemoryPattern(g_nCurMemory);
}
