// The channel title editor: one input channel's title (up to 16 full-width
// characters, kept as Shift_JIS bytes) in an edit box, a table of the 16 titles
// around it, and CA sent for one channel (Set) or every channel (All set).
// Japanese input is switched on while the dialog is open.
#pragma once

#include "dialog_kit/input_method.h"
#include "dialog_kit/table_editor_dlg.h"

class QLineEdit;

// The input method's state when the title editor last opened.
extern int g_bImeWasOpen;

class CTitleDlg : public CTableEditorDlg {
public:
    // Without an input method, the process's own is used.
    explicit CTitleDlg(QWidget* parent = nullptr, CInputMethod* pInputMethod = nullptr);

    QLineEdit* TitleEdit() const { return m_pEdit; }

protected:
    int GridEntryCount() const override;
    std::string GridCellText(int i) const override;
    int GridColumnWidth() const override { return 320; }
    CGridLists GridLists() const override;

    // CLOSE, Esc and the close box.
    void reject() override;
    void done(int result) override;
    void OnCycleRunning(bool running) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnChangeTitle();
    void OnSelchangeChannel(int index);
    void OnSet();
    void ShowTitle();
    void StoreTitle();
    void OpenInputMethod();

    CInputMethod& m_inputMethod;
    QLineEdit* m_pEdit = nullptr;
    bool m_bInputMethodOpened = false;
};
