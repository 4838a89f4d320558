#include "app/link_pane.h"

#include "app/link_words.h"
#include "link/link_context.h"

QString LinkStatusLabel(LinkStatus status) {
    switch (status) {
        case LinkStatus::kNoPort:
            return "未接続";
        case LinkStatus::kConnecting:
            return "接続中";
        case LinkStatus::kConnected:
            return "接続済み";
        case LinkStatus::kWaiting:
            return "ポート待ち";
        case LinkStatus::kReconnecting:
            return "再接続中";
    }
    return {};
}

CLinkPane::CLinkPane(QWidget* parent) : QLabel(parent) {
    setObjectName("link");
    setFixedWidth(kWidth);
    m_changes = Link().State().Changes().Watch([this](const CLinkChange&) { Refresh(); });
    Refresh();
}

void CLinkPane::Refresh() {
    const CLinkState& state = Link().State();
    const QString port = QString::fromStdString(state.Port());
    // A stall says more than "connected".
    const QString what = state.Stalled()
                             ? QString::fromStdString(StallWords(state.StallModemLines()))
                             : LinkStatusLabel(state.Status());
    m_full = port.isEmpty() ? what : port + " " + what;
    QString tip = m_full;
    if (!state.Connected() && !state.LastFailure().Empty()) {
        tip += "\n" + QString::fromStdString(LinkFailureWords(state.LastFailure()));
    }
    setToolTip(tip);
    const bool trouble = !state.Connected() || state.Stalled();
    setStyleSheet(trouble && state.Status() != LinkStatus::kNoPort ? "color: #b00000;" : "");
    Fit();
}

void CLinkPane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void CLinkPane::Fit() {
    const int room = contentsRect().width() - 2 * margin() - 4;
    setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, room > 0 ? room : kWidth));
}
