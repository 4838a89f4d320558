// The output switching editor: which source each of the 32 outputs shows, in
// row 0 (the direct switching, sent as OT) or in one of the 64 memories (stored
// as TP, recalled as OTP). All set stores memories 01..64 in a timed cycle.
#pragma once

#include "dialog_kit/table_editor_dlg.h"

class CPatternOutputDlg : public CTableEditorDlg {
public:
    explicit CPatternOutputDlg(QWidget* parent = nullptr);

protected:
    int GridEntryCount() const override;
    std::string GridCellText(int i) const override;
    int GridColumnWidth() const override { return 160; }
    CGridLists GridLists() const override;

private:
    void OnSelchangeMemory(int index);
    void OnSelchangeOutput(int index);
    void OnSelchangeChannel(int index);
    void OnSelchangeSameChannel(int index);
    void OnSwitch();
    void OnSet();
    void ShowCurrentCell();
};
