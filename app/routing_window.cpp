#include "app/routing_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/routing_table_model.h"
#include "app/routing_view.h"
#include "dialog_kit/dialog_placement.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

namespace {

// Short enough that a change elsewhere shows at once; comparing one row and
// 64 titles costs next to nothing.
constexpr int kFollowPeriodMs = 200;

QString RowName(int nRow) {
    return nRow == 0 ? QString("直接") : QString("メモリ %1").arg(TwoDigits(nRow).c_str());
}

QPushButton* AddButton(QHBoxLayout* row, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

// Right of the main window's strip, top edge with top edge, where the editors
// (which open below the strip) leave it in view; below the strip when the
// screen is too narrow. Never larger than the screen has room for: the matrix
// scrolls instead.
void PlaceBeside(QWidget& window, const QWidget& mainWindow) {
    const QRect room = mainWindow.screen()->availableGeometry();
    const QRect strip = mainWindow.frameGeometry();
    const QSize frame = strip.size() - mainWindow.size();  // the window manager's, as the strip's
    QSize wanted = window.sizeHint();
    QPoint at(strip.right() + 1, strip.top());
    if (at.x() + wanted.width() + frame.width() > room.right() + 1) {
        at = QPoint(room.left(), BelowWindow(mainWindow).y());
    }
    const QSize fits(room.right() + 1 - at.x() - frame.width(),
                     room.bottom() + 1 - at.y() - frame.height());
    // Rows that do not fit scroll: room for the scroll bar beside all 32 outputs.
    if (wanted.height() > fits.height()) {
        wanted.rwidth() += window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    window.resize(wanted.boundedTo(fits));
    window.move(at);
}

}  // namespace

CRoutingWindow::CRoutingWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_pTable(new CRoutingTableModel(m_matrix, this)),
      m_pView(new CRoutingView(this)),
      m_pRows(new QListWidget(this)),
      m_pStatus(new QLabel(this)) {
    setWindowTitle("ルーティング一覧");
    m_pView->setModel(m_pTable);
    for (int row = 0; row < kPatternRows; ++row) m_pRows->addItem(RowName(row));
    m_pRows->setCurrentRow(0);
    m_pRows->setFixedWidth(m_pRows->fontMetrics().horizontalAdvance("メモリ 000") +
                           m_pRows->verticalScrollBar()->sizeHint().width() +
                           2 * m_pRows->frameWidth() + 8);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pStatus, 1);
    m_pTake = AddButton(buttons, "送信", this);
    m_pDrop = AddButton(buttons, "取消", this);
    QPushButton* close = AddButton(buttons, "CLOSE", this);
    auto* matrix = new QHBoxLayout;
    matrix->addWidget(m_pRows);
    matrix->addWidget(m_pView, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(matrix, 1);
    layout->addLayout(buttons);

    connect(m_pRows, &QListWidget::currentRowChanged, this, &CRoutingWindow::OnRowPicked);
    connect(m_pView, &CRoutingView::crosspointPressed, this, &CRoutingWindow::OnCrosspoint);
    connect(m_pView, &CRoutingView::rowStepped, this, [this](int step) {
        m_pRows->setCurrentRow(std::clamp(m_pRows->currentRow() + step, 0, kPatternRows - 1));
    });
    connect(m_pTake, &QPushButton::clicked, this, &CRoutingWindow::OnTake);
    connect(m_pDrop, &QPushButton::clicked, this, &CRoutingWindow::OnDrop);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_followTimer, &QTimer::timeout, this, &CRoutingWindow::Follow);
    m_followTimer.setInterval(kFollowPeriodMs);
    m_pView->MoveCursor(0, 0);
    setFocusProxy(m_pView);
    ShowState();
}

QSize CRoutingWindow::WholeSize() const {
    return sizeHint();
}

void CRoutingWindow::Follow() {
    const QModelIndex cursor = m_pView->currentIndex();
    if (m_matrix.Follow()) Shown();
    // A change of the input count resets the table, and the cursor with it.
    if (!m_pView->currentIndex().isValid()) m_pView->MoveCursor(cursor.row(), cursor.column());
    ShowState();
}

void CRoutingWindow::OnTake() {
    m_matrix.Take();
    ShowState();
}

void CRoutingWindow::OnDrop() {
    m_matrix.Drop();
    Shown();
    ShowState();
}

// While a take awaits its answer the row stays: the list goes back to it.
void CRoutingWindow::OnRowPicked(int nRow) {
    if (!m_matrix.SetRow(nRow)) {
        const QSignalBlocker quiet(m_pRows);
        m_pRows->setCurrentRow(m_matrix.Row());
        return;
    }
    Shown();
    ShowState();
}

void CRoutingWindow::OnCrosspoint(int nInput, int nOutput) {
    m_pView->MoveCursor(nInput, nOutput);
    if (m_matrix.Toggle(nInput, nOutput)) Shown();
    ShowState();
}

void CRoutingWindow::Shown() {
    m_pTable->Refresh();
    m_pView->FitHeaders();
}

void CRoutingWindow::ShowState() {
    const bool awaiting = m_matrix.Awaiting();
    const bool staged = m_matrix.StagedCount() > 0;
    m_pTake->setEnabled(staged && !awaiting && g_nSendStep == 0);
    m_pDrop->setEnabled(staged && !awaiting);
    m_pRows->setEnabled(!awaiting);
    m_pStatus->setText(StateText());
}

QString CRoutingWindow::StateText() const {
    if (m_matrix.Awaiting()) return "送信しました。応答を待っています…";
    const int staged = m_matrix.StagedCount();
    if (staged == 0) {
        if (m_matrix.LastOutcome() == TakeOutcome::kDone) return "送信しました。";
        if (m_matrix.Row() == 0) return "クリックまたはスペースで変更、送信で切り換えます。";
        return QString("クリックまたはスペースで変更、送信でメモリ %1 に記憶します。")
            .arg(TwoDigits(m_matrix.Row()).c_str());
    }
    QString text = QString("未送信の変更 %1 件").arg(staged);
    if (g_nSendStep != 0) return text + "（一括送信中は送信できません）";
    switch (m_matrix.LastOutcome()) {
        case TakeOutcome::kRefused:
            return text + "（エラー応答のため変わっていません）";
        case TakeOutcome::kUnanswered:
            return text + "（応答がないため変わっていません）";
        default:
            return text;
    }
}

void CRoutingWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Follow();
    m_followTimer.start();
}

void CRoutingWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_followTimer.stop();
}

void ShowRoutingWindow(QWidget* parent) {
    auto* window = parent->findChild<CRoutingWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CRoutingWindow(parent);
        PlaceBeside(*window, *parent);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void FollowRoutingWindow(QWidget* parent) {
    auto* window = parent->findChild<CRoutingWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window) window->Follow();
}
