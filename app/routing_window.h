// 設定 > ルーティング一覧: the direct switching and the 64 memories as a
// matrix of inputs by outputs, one row of g_nPattern at a time (picked in the
// list beside it). A click or Space stages a change; 送信 sends the staged
// changes as the output switching editor would (OT for the direct row, TP for
// a memory) and the marks take them once the switcher says GO; 取消 drops
// them. Not modal: it opens beside the main window and stays open. Like the
// main window it is blocked while an editor or a box is open, and it goes on
// showing the model meanwhile: while visible it compares what it shows with
// the model on a short timer (no part of the program announces its changes),
// so an editor's change, a read-back, a file opened or a network client's
// route shows within a tick.
#pragma once

#include <QTimer>
#include <QWidget>

#include "editors/routing_matrix.h"

class CRoutingTableModel;
class CRoutingView;
class QLabel;
class QListWidget;
class QPushButton;

class CRoutingWindow : public QWidget {
    Q_OBJECT
public:
    explicit CRoutingWindow(QWidget* parent = nullptr);

    // Settles a take that has been answered and shows what changed in the model.
    void Follow();
    void OnTake();
    void OnDrop();

    CRoutingMatrix& Matrix() { return m_matrix; }
    CRoutingView* View() const { return m_pView; }
    QListWidget* Rows() const { return m_pRows; }
    QPushButton* TakeButton() const { return m_pTake; }
    QPushButton* DropButton() const { return m_pDrop; }
    QLabel* Status() const { return m_pStatus; }
    QTimer& FollowTimer() { return m_followTimer; }
    // The size that shows the whole matrix, without scrolling.
    QSize WholeSize() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnRowPicked(int nRow);
    void OnCrosspoint(int nInput, int nOutput);
    void Shown();
    void ShowState();
    QString StateText() const;

    CRoutingMatrix m_matrix;
    CRoutingTableModel* m_pTable;
    CRoutingView* m_pView;
    QListWidget* m_pRows;
    QPushButton* m_pTake;
    QPushButton* m_pDrop;
    QLabel* m_pStatus;
    QTimer m_followTimer;
};

// Shows the parent's routing window beside it, creating it on first use, and
// brings it to the front.
void ShowRoutingWindow(QWidget* parent);
// Has the parent's routing window, if there is one, catch up now (after the
// replies have been dispatched, before the control server tells its clients).
void FollowRoutingWindow(QWidget* parent);
