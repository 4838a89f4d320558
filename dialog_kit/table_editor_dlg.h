// The shape every table editor shares: a grid painted into a frame, lists that
// write the model the moment they change, the slave address list, Set, and an
// All set that runs the send cycle on a timer, with a stop button and a line
// saying how the last run ended. While a cycle runs (anywhere: g_nSendStep is
// shared) the table lists and buttons are inert, and while the editor's own
// runs they are disabled; the slave address list, OK and painting stay live.
// Esc, the close box and OK during the editor's run stop it as its stop button
// does, and the dialog stays open to say so; a dialog destroyed meanwhile ends
// its cycle at once, so g_nSendStep is 0 once the dialog is gone.
//
// The grid also answers the mouse and the keyboard: the current entry is
// outlined, a click on a cell picks that entry in its list, and with the grid
// focused the arrow keys step through the entries and Page Up / Page Down
// through the pages (pattern, memory) where there are any. Either is a pick in
// the list, with that list's handler and guard.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "batch/send_cycle.h"
#include "dialog_kit/cycle_timer.h"
#include "res/dialog_template.h"

class QFrame;
class QKeyEvent;
class QLineEdit;
class QPainter;
class QPushButton;

// Which lists the grid's cells stand for, and where the model's selection is.
struct CGridLists {
    int nEntryList;         // the list whose entries are the cells (channel, output)
    int nEntry;             // the selected entry's index in that list, from the model
    int nFirstEntry = 0;    // the list index of the grid's first cell
    int nPageList = kNoId;  // the list Page Up / Page Down step through, if any
    int nPage = 0;          // its selected index, from the model
    int nPageStep = 1;
};

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
    // What the status line says of the last All set; empty without one.
    QString Status() const;
    QTimer& CycleTimer() { return m_pCycle->Timer(); }
    QFrame* Table() const { return m_pTable; }

    // Picks index in the list as the user would: the list shows it and its
    // handler runs. False, with nothing changed, when the list has no such
    // entry or its handler is guarded and a cycle runs.
    bool PickInList(int comboId, int index);
    // The grid's cell whose entry is selected in the model, or -1.
    int MarkedCell() const;

protected:
    // What the grid shows.
    virtual int GridEntryCount() const = 0;
    virtual std::string GridCellText(int i) const = 0;
    virtual int GridColumnWidth() const = 0;
    virtual CGridLists GridLists() const = 0;

    void RepaintGrid();
    // A user's pick in the list runs handler, unless a cycle runs.
    void OnGuardedSelection(int comboId, std::function<void(int index)> handler);
    // A user's pick in the list runs handler, even while a cycle runs.
    void OnSelection(int comboId, std::function<void(int index)> handler);
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
    // The editor's own run began (true) or ended; its table lists and
    // guarded buttons are already disabled or enabled again.
    virtual void OnCycleRunning(bool /*running*/) {}
    // When the editor's run goes, asks it to stop (the dialog stays open to
    // say how it ended) and returns true: the closing is refused.
    bool StopRunInsteadOfClosing();
    // Return or Enter pressed: what a field of the editor takes instead of
    // letting it reach the default button, which would close the dialog.
    static bool IsEnterPress(const QEvent& event);
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CListHandler {
        std::function<void(int)> handler;
        bool bGuarded = true;
    };

    void InitSlaveAddress();
    void InitGrid();
    void AddListHandler(int comboId, std::function<void(int)> handler, bool bGuarded);
    bool Refuses(int comboId) const;
    void RunListHandler(int comboId, int index);
    void PaintGrid();
    void PaintMark(QPainter& painter) const;
    void OnGridClick(int x, int y);
    bool OnGridKey(const QKeyEvent& key);
    void ShowCycleRunning(bool running);

    std::map<int, CListHandler> m_lists;
    std::vector<int> m_guardedButtons;
    std::vector<QPointer<QWidget>> m_disabledForRun;  // enabled again when the run ends
    QFrame* m_pTable = nullptr;
    QLineEdit* m_pCounter = nullptr;
    std::unique_ptr<CCycleTimer> m_pCycle;
};
