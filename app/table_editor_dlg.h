// The shape every table editor shares: a grid painted into a frame, lists that
// write the model the moment they change, the slave address list, Set, and an
// All set that runs the send cycle on a timer. While a cycle runs (anywhere:
// g_nSendStep is shared) the table lists and buttons are inert; the slave
// address list, OK and painting stay live. Closing the dialog in any way ends
// its cycle, so g_nSendStep is 0 once the dialog is gone.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/cycle_timer.h"
#include "batch/send_cycle.h"
#include "res/dialog_template.h"

class QFrame;
class QLineEdit;
class QPushButton;

class CTableEditorDlg : public QDialog {
public:
    CTableEditorDlg(const CDialogTemplate& t, const char* captionText, int nTableId, int nCounterId,
                    QWidget* parent);
    ~CTableEditorDlg() override;

    // One tick of the All-set cycle's timer.
    void OnCycleTimer();
    bool CycleRunning() const { return m_pCycle->Running(); }
    QComboBox* Combo(int id) const;
    QPushButton* Button(int id) const;
    QLineEdit* Counter() const { return m_pCounter; }
    QTimer& CycleTimer() { return m_pCycle->Timer(); }

protected:
    // What the grid shows.
    virtual int GridEntryCount() const = 0;
    virtual std::string GridCellText(int i) const = 0;
    virtual int GridColumnWidth() const = 0;

    void RepaintGrid();
    // A user's pick in the list runs handler, unless a cycle runs.
    void OnGuardedSelection(int comboId, std::function<void(int index)> handler);
    void OnGuardedClick(int buttonId, std::function<void()> handler);
    // Selects index in the list, or nothing when the list has no such entry.
    void Select(int comboId, int index);
    // On RS-232C the disabled slave address list shows the address the editor
    // opened with, instead of no selection.
    void ShowSlaveAddressWhileDisabled();
    // On the 32-input model, drops the list's entries from..from+31 (inputs 33..64).
    void TrimInputsToModel(int comboId, int from);
    // All set: runs the steps one per tick of the cycle's timer.
    void StartCycle(CStepList steps);
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitSlaveAddress();
    void PaintGrid();

    QFrame* m_pTable = nullptr;
    QLineEdit* m_pCounter = nullptr;
    std::unique_ptr<CCycleTimer> m_pCycle;
};
