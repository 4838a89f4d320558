// The auto-sequence editor: one pattern's sequence time per input channel,
// sent as AST one pattern at a time (Set) or all 64 in a timed cycle (All set).
#pragma once

#include "dialog_kit/table_editor_dlg.h"

class CAutoSequenceDlg : public CTableEditorDlg {
public:
    explicit CAutoSequenceDlg(QWidget* parent = nullptr);

protected:
    int GridEntryCount() const override;
    std::string GridCellText(int i) const override;
    int GridColumnWidth() const override { return 80; }
    CGridLists GridLists() const override;

private:
    void OnSelchangePattern(int index);
    void OnSelchangeChannel(int index);
    void OnSelchangeTime(int index);
    void OnSelchangeSameTime(int index);
    void OnSet();
    void ShowSelectedTime();
};
