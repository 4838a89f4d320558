#include "dialogs/auto_sequence_dlg.h"

#include "batch/cycle_steps.h"
#include "editors/auto_sequence_send.h"
#include "editors/table_grid.h"
#include "model/settings_model.h"
#include "res/editor_dialogs.h"
#include "sink/message_sink.h"

CAutoSequenceDlg::CAutoSequenceDlg(QWidget* parent)
    : CTableEditorDlg(AutoSequenceTemplate(), "オート・シーケンス File Name ", IDC_SEQ_TABLE,
                      IDC_SEQ_COUNTER, parent) {
    Select(IDC_SEQ_PATTERN, g_nCurSeqPattern);
    Select(IDC_SEQ_CHANNEL, g_nCurChannel);
    TrimInputsToModel(IDC_SEQ_CHANNEL, 32);
    ShowSelectedTime();
    Select(IDC_SEQ_SAME_TIME, g_nSameTime);

    OnGuardedSelection(IDC_SEQ_PATTERN, [this](int i) { OnSelchangePattern(i); });
    OnGuardedSelection(IDC_SEQ_CHANNEL, [this](int i) { OnSelchangeChannel(i); });
    OnGuardedSelection(IDC_SEQ_TIME, [this](int i) { OnSelchangeTime(i); });
    OnGuardedSelection(IDC_SEQ_SAME_TIME, [this](int i) { OnSelchangeSameTime(i); });
    OnGuardedClick(IDC_SET, [this] { OnSet(); });
    OnGuardedClick(IDC_ALL_SET, [this] { StartCycle(AutoSequenceSteps()); });
}

int CAutoSequenceDlg::GridEntryCount() const {
    return InputChannelCount();
}

std::string CAutoSequenceDlg::GridCellText(int i) const {
    return SeqTimeCellText(i, g_nSeqTime[g_nCurSeqPattern][i]);
}

// The cells are the channels; Page Up / Page Down step through the patterns.
CGridLists CAutoSequenceDlg::GridLists() const {
    return {.nEntryList = IDC_SEQ_CHANNEL,
            .nEntry = g_nCurChannel,
            .nPageList = IDC_SEQ_PATTERN,
            .nPage = g_nCurSeqPattern};
}

void CAutoSequenceDlg::ShowSelectedTime() {
    Select(IDC_SEQ_TIME, g_nSeqTime[g_nCurSeqPattern][g_nCurChannel]);
}

void CAutoSequenceDlg::OnSelchangePattern(int index) {
    g_nCurSeqPattern = index;
    RepaintGrid();
    ShowSelectedTime();
}

void CAutoSequenceDlg::OnSelchangeChannel(int index) {
    g_nCurChannel = index;
    ShowSelectedTime();  // the grid shows nothing new
}

void CAutoSequenceDlg::OnSelchangeTime(int index) {
    g_nSeqTime[g_nCurSeqPattern][g_nCurChannel] = index;  // 0 = SKIP
    RepaintGrid();
    g_bModified = 1;
}

void CAutoSequenceDlg::OnSelchangeSameTime(int index) {
    g_nSameTime = index;
    for (int c = 0; c < InputChannelCount(); ++c) g_nSeqTime[g_nCurSeqPattern][c] = index + 1;
    RepaintGrid();
    ShowSelectedTime();
    g_bModified = 1;
}

void CAutoSequenceDlg::OnSet() {
    CStepResult result = SequencePatternStep(g_nCurSeqPattern);
    if (!result.Sent()) ShowWarning(result.pszWarning);
}
