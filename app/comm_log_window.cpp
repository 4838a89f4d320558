#include "app/comm_log_window.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringList>
#include <QVBoxLayout>
#include <QWindow>

#include "dialog_kit/dialog_placement.h"
#include "model/file_io.h"
#include "sink/message_sink.h"

namespace {

std::optional<std::string> AskSavePath(QWidget* parent) {
    QFileDialog dialog(parent, "通信ログの保存");
    dialog.setWindowModality(Qt::WindowModal);  // blocks the log window alone
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("テキスト(*.txt)");
    dialog.setDefaultSuffix("txt");
    dialog.selectFile(QDateTime::currentDateTime().toString("'qelvar-log-'yyyyMMdd-HHmmss'.txt'"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

QPushButton* AddButton(QHBoxLayout* row, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setAutoDefault(false);  // Enter must not clear the log
    row->addWidget(button);
    return button;
}

}  // namespace

CCommLogWindow::CCommLogWindow(CCommLog& log, QWidget* parent)
    : QDialog(parent),
      m_chooseSavePath(AskSavePath),
      m_log(log),
      m_pView(new QPlainTextEdit(this)) {
    setWindowTitle("通信ログ");
    setModal(false);
    m_pView->setReadOnly(true);
    m_pView->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pView->setUndoRedoEnabled(false);
    // The view drops its oldest lines as the log does.
    m_pView->setMaximumBlockCount(static_cast<int>(log.Capacity()));
    m_pView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QHBoxLayout;
    connect(AddButton(buttons, "クリア", this), &QPushButton::clicked, this,
            &CCommLogWindow::OnClear);
    connect(AddButton(buttons, "保存...", this), &QPushButton::clicked, this,
            &CCommLogWindow::OnSave);
    buttons->addStretch();
    connect(AddButton(buttons, "CLOSE", this), &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pView);
    layout->addLayout(buttons);
    resize(720, 360);  // a whole AST line of the 32-input model
    FollowIfAtBottom();
    // A guarded pointer: the log may outlive the window.
    m_log.SetChangeCallback([self = QPointer(this)] {
        if (self) self->OnLogChanged();
    });
}

// Qt's own following stops once the last line is partly hidden (under the
// horizontal scroll bar, after a resize); the window's own flag does not.
void CCommLogWindow::FollowIfAtBottom() {
    QScrollBar* bar = m_pView->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { m_bFollowing = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_bFollowing) bar->setValue(maximum);
    });
}

// A window-modal dialog blocks its parent and every window whose transient
// parent that is; without one, the log can be scrolled and copied from meanwhile.
// (Once shown: a window created earlier would be placed as if it had no frame.)
void CCommLogWindow::KeepOutOfModality() {
    if (QWindow* window = windowHandle()) window->setTransientParent(nullptr);
}

void CCommLogWindow::OnClear() {
    m_log.Clear();  // the change callback empties the view
}

void CCommLogWindow::OnSave() {
    const std::optional<std::string> path = m_chooseSavePath(this);
    if (!path) return;
    if (WriteFileAtomically(*path, FormatLog(m_log)) != WriteResult::kOk) {
        ShowWarning("Can't file write");
    }
}

void CCommLogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    KeepOutOfModality();
    // A hidden window does not follow the log; catch up when shown again (a
    // spontaneous show, after minimising, has missed nothing).
    if (!event->spontaneous()) RenderAll();
}

// Appends only the entries the view lacks; renders everything after a Clear.
void CCommLogWindow::OnLogChanged() {
    if (!isVisible()) return;
    const auto& entries = m_log.Entries();
    const unsigned long long missing = m_log.TotalAdded() - m_nShown;
    if (entries.empty() || missing > entries.size()) {
        RenderAll();
    } else {
        AppendFrom(entries.size() - missing);
    }
}

void CCommLogWindow::RenderAll() {
    QStringList lines;
    for (const auto& entry : m_log.Entries()) lines << QString::fromStdString(FormatEntry(entry));
    m_pView->setPlainText(lines.join('\n'));
    m_pView->moveCursor(QTextCursor::End);
    m_bFollowing = true;  // newest in view, as the view grows to its size
    QScrollBar* bar = m_pView->verticalScrollBar();
    bar->setValue(bar->maximum());
    m_nShown = m_log.TotalAdded();
}

// The scroll bar's range grows with the lines; FollowIfAtBottom keeps the end in view.
void CCommLogWindow::AppendFrom(size_t first) {
    const auto& entries = m_log.Entries();
    for (size_t i = first; i < entries.size(); ++i) {
        m_pView->appendPlainText(QString::fromStdString(FormatEntry(entries[i])));
    }
    m_nShown = m_log.TotalAdded();
}

void ShowCommLogWindow(CCommLog& log, QWidget* parent) {
    auto* window = parent->findChild<CCommLogWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CCommLogWindow(log, parent);
        // Below the main window's strip, not over its tool bar.
        window->move(BelowWindow(*parent));
    }
    window->show();
    window->raise();
    window->activateWindow();
}
