#include "dialog_kit/table_editor_dlg.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/editor_caption.h"
#include "dialog_kit/found_model.h"
#include "dialog_kit/run_outcome_text.h"
#include "editors/table_grid.h"
#include "link/comm_settings.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/run_controls.h"

CTableEditorDlg::CTableEditorDlg(const CDialogTemplate& t, const char* captionText, int nTableId,
                                 int nCounterId, QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, t);
    setWindowTitle(EditorCaption(captionText));
    m_pTable = FindControl<QFrame>(*this, nTableId);
    InitGrid();
    m_pCounter = FindControl<QLineEdit>(*this, nCounterId);
    InitSlaveAddress();
    m_pCycle = std::make_unique<CCycleTimer>(Button(IDCANCEL), Button(IDC_RUN_STOP));
    m_pCycle->onStep = [this](int k, int) {
        if (m_pCounter) m_pCounter->setText(QString::number(k));
    };
    m_pCycle->onRunning = [this](bool running) { ShowCycleRunning(running); };
    // The counter keeps the last step.
    m_pCycle->onEnded = [this](const CRunOutcome& outcome, const CStepList& steps) {
        if (auto* status = findChild<QLabel*>(QString::number(IDC_RUN_STATUS))) {
            status->setText(RunOutcomeText(outcome, steps, RunVerb::kSend));
        }
    };
    if (auto* status = findChild<QLabel*>(QString::number(IDC_RUN_STATUS))) {
        status->setWordWrap(true);
    }
    g_nCornerClicks = 0;
}

CTableEditorDlg::~CTableEditorDlg() = default;

QComboBox* CTableEditorDlg::Combo(int id) const {
    return FindControl<QComboBox>(*this, id);
}
QPushButton* CTableEditorDlg::Button(int id) const {
    return FindControl<QPushButton>(*this, id);
}

QString CTableEditorDlg::Status() const {
    auto* status = findChild<QLabel*>(QString::number(IDC_RUN_STATUS));
    return status ? status->text() : QString();
}

void CTableEditorDlg::InitSlaveAddress() {
    QComboBox* slave = Combo(IDC_SLAVE_ADDRESS);
    if (g_bRs485) {
        slave->setCurrentIndex(g_nSlaveAddress);
    } else {
        slave->setCurrentIndex(-1);  // RS-232C sends no address
        slave->setEnabled(false);
    }
    // Taken even while a cycle runs.
    connect(slave, &QComboBox::activated, this, [this](int index) {
        g_nSlaveAddress = index;
        OfferFoundModel(*this);
    });
}

// Clicks and Tab give the grid the focus its keys need.
void CTableEditorDlg::InitGrid() {
    m_pTable->setFocusPolicy(Qt::StrongFocus);
    m_pTable->installEventFilter(this);
}

void CTableEditorDlg::ShowSlaveAddressWhileDisabled() {
    if (!g_bRs485) Select(IDC_SLAVE_ADDRESS, g_nSlaveAddress);
}

void CTableEditorDlg::OnGuardedSelection(int comboId, std::function<void(int)> handler) {
    AddListHandler(comboId, std::move(handler), true);
}

void CTableEditorDlg::OnSelection(int comboId, std::function<void(int)> handler) {
    AddListHandler(comboId, std::move(handler), false);
}

void CTableEditorDlg::AddListHandler(int comboId, std::function<void(int)> handler, bool bGuarded) {
    m_lists[comboId] = {std::move(handler), bGuarded};
    connect(Combo(comboId), &QComboBox::activated, this,
            [this, comboId](int index) { RunListHandler(comboId, index); });
}

bool CTableEditorDlg::Refuses(int comboId) const {
    const auto it = m_lists.find(comboId);
    return it == m_lists.end() || (it->second.bGuarded && g_nSendStep != 0);
}

void CTableEditorDlg::RunListHandler(int comboId, int index) {
    if (Refuses(comboId)) return;
    m_lists.at(comboId).handler(index);
    m_pTable->update();  // the marked cell may have moved
}

bool CTableEditorDlg::PickInList(int comboId, int index) {
    QComboBox* combo = Combo(comboId);
    if (!combo || index < 0 || index >= combo->count() || Refuses(comboId)) return false;
    combo->setCurrentIndex(index);
    RunListHandler(comboId, index);
    return true;
}

int CTableEditorDlg::MarkedCell() const {
    const CGridLists lists = GridLists();
    const int cell = lists.nEntry - lists.nFirstEntry;
    return cell >= 0 && cell < GridEntryCount() ? cell : -1;
}

void CTableEditorDlg::OnGuardedClick(int buttonId, std::function<void()> handler) {
    m_guardedButtons.push_back(buttonId);
    connect(Button(buttonId), &QPushButton::clicked, this, [handler] {
        if (g_nSendStep == 0) handler();
    });
}

// A pick in a list that the run would refuse is refused visibly: the lists
// and buttons that do nothing meanwhile are disabled for the run.
void CTableEditorDlg::ShowCycleRunning(bool running) {
    if (running) {
        std::vector<QWidget*> inert;
        for (const auto& [id, list] : m_lists) {
            if (list.bGuarded) inert.push_back(Combo(id));
        }
        for (int id : m_guardedButtons) inert.push_back(Button(id));
        for (QWidget* widget : inert) {
            if (!widget || !widget->isEnabled()) continue;
            widget->setEnabled(false);
            m_disabledForRun.emplace_back(widget);
        }
    } else {
        for (const auto& widget : m_disabledForRun) {
            if (widget) widget->setEnabled(true);
        }
        m_disabledForRun.clear();
    }
    OnCycleRunning(running);
}

void CTableEditorDlg::Select(int comboId, int index) {
    QComboBox* combo = Combo(comboId);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void CTableEditorDlg::TrimInputsToModel(int comboId, int from) {
    if (g_nModel != 0) return;
    QComboBox* combo = Combo(comboId);
    const int selected = combo->currentIndex();
    for (int i = from + 31; i >= from; --i) combo->removeItem(i);
    // A selection among the removed entries leaves the list without one.
    if (selected >= from && selected < from + 32) combo->setCurrentIndex(-1);
}

void CTableEditorDlg::RepaintGrid() {
    m_pTable->repaint();
}

bool CTableEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pTable) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Paint:
            PaintGrid();
            break;  // the frame then draws its border
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton) OnGridClick(at.x(), at.y());
            break;
        }
        case QEvent::KeyPress:
            if (OnGridKey(*static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            m_pTable->update();  // the focus outline
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void CTableEditorDlg::OnGridClick(int x, int y) {
    const int cell = GridEntryAt(x, y, GridColumnWidth(), GridEntryCount());
    if (cell < 0) return;
    const CGridLists lists = GridLists();
    PickInList(lists.nEntryList, lists.nFirstEntry + cell);
}

namespace {

struct CGridKey {
    int nKey;
    GridMove move;
};

constexpr CGridKey kGridKeys[] = {
    {Qt::Key_Up, GridMove::kUp},      {Qt::Key_Down, GridMove::kDown},
    {Qt::Key_Left, GridMove::kLeft},  {Qt::Key_Right, GridMove::kRight},
    {Qt::Key_Home, GridMove::kFirst}, {Qt::Key_End, GridMove::kLast},
};

}  // namespace

// True when the key was the grid's (also when a running cycle refuses it).
bool CTableEditorDlg::OnGridKey(const QKeyEvent& key) {
    if (key.modifiers() & ~Qt::KeypadModifier) return false;  // Ctrl+arrow and the like
    const CGridLists lists = GridLists();
    if (key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown) {
        if (lists.nPageList == kNoId) return false;
        const int step = key.key() == Qt::Key_PageUp ? -lists.nPageStep : lists.nPageStep;
        PickInList(lists.nPageList, lists.nPage + step);
        return true;
    }
    const auto* gridKey = std::ranges::find(kGridKeys, key.key(), &CGridKey::nKey);
    if (gridKey == std::end(kGridKeys)) return false;
    const int target =
        GridMoveTarget(lists.nEntry, gridKey->move, Combo(lists.nEntryList)->count());
    if (target >= 0) PickInList(lists.nEntryList, target);
    return true;
}

void CTableEditorDlg::PaintGrid() {
    QPainter painter(m_pTable);
    painter.fillRect(0, 0, kGridFillWidth, kGridFillHeight, Qt::white);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font());
    for (int i = 0; i < GridEntryCount(); ++i) {
        const CGridPoint at = GridCellPosition(i, GridColumnWidth());
        painter.drawText(at.x, at.y + metrics.ascent(), QString::fromStdString(GridCellText(i)));
    }
    PaintMark(painter);
}

// A black outline around the current entry's text: it shows on screen and on
// a black-and-white print alike. With the grid focused, a dotted line inside
// the frame says the keys go there.
void CTableEditorDlg::PaintMark(QPainter& painter) const {
    const int cell = MarkedCell();
    if (cell >= 0) {
        const CGridRect r = GridCellRect(cell, GridColumnWidth());
        const CGridPoint text = GridCellPosition(cell, GridColumnWidth());
        const int textWidth =
            painter.fontMetrics().horizontalAdvance(QString::fromStdString(GridCellText(cell)));
        const int width = std::min(text.x - r.x + textWidth + 4, r.cx - 4);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(r.x + 1, r.y + 1, width - 2, r.cy - 2));
    }
    if (m_pTable->hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(m_pTable->rect().adjusted(2, 2, -3, -3));
    }
}

void CTableEditorDlg::StartCycle(CStepList steps) {
    m_pCycle->Start(std::move(steps));
}

// The counter keeps the last step sent when the cycle ends.
void CTableEditorDlg::OnCycleTimer() {
    m_pCycle->OnTick();
}

bool CTableEditorDlg::StopRunInsteadOfClosing() {
    if (!m_pCycle->Running()) return false;
    m_pCycle->RequestStop();
    return true;
}

bool CTableEditorDlg::IsEnterPress(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void CTableEditorDlg::done(int result) {
    if (StopRunInsteadOfClosing()) return;
    QDialog::done(result);
}
