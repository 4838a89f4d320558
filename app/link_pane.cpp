#include "app/link_pane.h"

#include "app/link_words.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/switcher_model.h"

namespace {

constexpr int kSlack = 4;  // pixels beyond the text, so that it never touches the next pane

}  // namespace

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

QString LinkTargetText() {
    const QString model = ModelName(g_nModel);
    if (!g_bRs485) return "RS-232C " + model;
    return "RS-485 " + QString::fromStdString(TwoDigits(g_nSlaveAddress)) + " " + model;
}

CLinkPane::CLinkPane(QWidget* parent) : QLabel(parent) {
    setObjectName("link");
    m_changes = Link().State().Changes().Watch([this](const CLinkChange&) { Refresh(); });
    Refresh();
}

void CLinkPane::SetPortLabel(const QString& label) {
    m_portLabel = label;
    Refresh();
}

void CLinkPane::SetServerText(const QString& brief, const QString& whole) {
    if (brief == m_serverBrief && whole == m_serverWhole) return;
    m_serverBrief = brief;
    m_serverWhole = whole;
    Refresh();
}

void CLinkPane::Refresh() {
    const CLinkState& state = Link().State();
    QString port = QString::fromStdString(state.Port());
    if (!m_portLabel.isEmpty()) port = m_portLabel;
    // A stall says more than "connected".
    const QString what = state.Stalled()
                             ? QString::fromStdString(StallWords(state.StallModemLines()))
                             : LinkStatusLabel(state.Status());
    QString full = (port.isEmpty() ? "" : port + " ") + LinkTargetText() + " " + what;
    QString tip = full;
    if (!state.Connected() && !state.LastFailure().Empty()) {
        tip += "\n" + QString::fromStdString(LinkFailureWords(state.LastFailure()));
    }
    if (!m_serverBrief.isEmpty()) full += " | " + m_serverBrief;
    if (!m_serverWhole.isEmpty()) tip += "\n" + m_serverWhole;
    const bool trouble = !state.Connected() || state.Stalled();
    const QString style = trouble && state.Status() != LinkStatus::kNoPort ? "color: #b00000;" : "";
    // Called every second: a pane that has not changed is left alone, its tool tip open.
    if (tip != toolTip()) setToolTip(tip);
    if (style != styleSheet()) setStyleSheet(style);
    if (full == m_full) return;
    m_full = full;
    updateGeometry();  // the strip gives the pane the room its new text needs
    Fit();
}

QSize CLinkPane::sizeHint() const {
    const QSize hint = QLabel::sizeHint();
    const int margins = contentsMargins().left() + contentsMargins().right() + 2 * margin();
    return {fontMetrics().horizontalAdvance(m_full) + margins + kSlack, hint.height()};
}

QSize CLinkPane::minimumSizeHint() const {
    return {std::min(kMinWidth, sizeHint().width()), QLabel::minimumSizeHint().height()};
}

void CLinkPane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void CLinkPane::Fit() {
    const int room = contentsRect().width() - 2 * margin() - kSlack;
    // Before the strip is laid out the pane has no width of its own yet; the
    // whole text is measured as sizeHint measures it, which elidedText may not.
    if (room <= 0 || fontMetrics().horizontalAdvance(m_full) <= room) {
        setText(m_full);
    } else {
        setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, room));
    }
}
