#include "app/table_editor_dlg.h"

#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "app/dialog_builder.h"
#include "app/editor_caption.h"
#include "app/main_frame.h"
#include "editors/table_grid.h"
#include "link/comm_settings.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"

CTableEditorDlg::CTableEditorDlg(const CDialogTemplate& t, const char* captionText, int nTableId,
                                 int nCounterId, QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, t);
    setWindowTitle(EditorCaption(captionText));
    m_pTable = FindControl<QFrame>(*this, nTableId);
    m_pTable->installEventFilter(this);
    m_pCounter = FindControl<QLineEdit>(*this, nCounterId);
    InitSlaveAddress();
    m_pCycle = std::make_unique<CCycleTimer>(Button(IDCANCEL));
    m_pCycle->onStep = [this](int k, int) {
        if (m_pCounter) m_pCounter->setText(QString::number(k));
    };
    m_pCycle->onFinished = [this] {
        if (m_pCounter) m_pCounter->setText("  ");
    };
    g_nCornerClicks = 0;
}

CTableEditorDlg::~CTableEditorDlg() = default;

QComboBox* CTableEditorDlg::Combo(int id) const {
    return FindControl<QComboBox>(*this, id);
}
QPushButton* CTableEditorDlg::Button(int id) const {
    return FindControl<QPushButton>(*this, id);
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
    connect(slave, &QComboBox::activated, this, [](int index) { g_nSlaveAddress = index; });
}

void CTableEditorDlg::ShowSlaveAddressWhileDisabled() {
    if (!g_bRs485) Select(IDC_SLAVE_ADDRESS, g_nSlaveAddress);
}

void CTableEditorDlg::OnGuardedSelection(int comboId, std::function<void(int)> handler) {
    connect(Combo(comboId), &QComboBox::activated, this, [handler](int index) {
        if (g_nSendStep == 0) handler(index);
    });
}

void CTableEditorDlg::OnGuardedClick(int buttonId, std::function<void()> handler) {
    connect(Button(buttonId), &QPushButton::clicked, this, [handler] {
        if (g_nSendStep == 0) handler();
    });
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
    if (watched == m_pTable && event->type() == QEvent::Paint) PaintGrid();
    return QDialog::eventFilter(watched, event);  // the frame then draws its border
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
}

void CTableEditorDlg::StartCycle(CStepList steps) {
    m_pCycle->Start(std::move(steps));
}

// The counter keeps the last step sent when an error reply stops the cycle.
void CTableEditorDlg::OnCycleTimer() {
    m_pCycle->OnTick();
}

void CTableEditorDlg::done(int result) {
    m_pCycle->Stop();
    QDialog::done(result);
}
