// The status-bar pane that shows what the program talks to and how: the port
// (COMn and its device or address, or "シミュレータ"), the interface, the slave
// address on RS-485, the model, and where the link stands, updated as the
// link's state changes and on Refresh. The pane is as wide as its text; only
// when the strip has no room for it is the text shortened in the middle, the
// tool tip holding it whole, with the reason of the last failure. While the
// program serves the switcher on the network, the pane says so after the link.
#pragma once

#include <QLabel>

#include "link/line_watchers.h"
#include "link/link_state.h"

class CLinkPane : public QLabel {
    Q_OBJECT
public:
    // Never narrower, however long the text.
    static constexpr int kMinWidth = 120;

    explicit CLinkPane(QWidget* parent = nullptr);
    // Shown in place of the port (the virtual switcher's pseudo-terminal says nothing).
    void SetPortLabel(const QString& label);
    // What the control server says after the link's words (brief) and in the
    // tool tip (whole); empty while it does not run.
    void SetServerText(const QString& brief, const QString& whole);
    // Shows Link().State() and the interface, address and model as they are now.
    void Refresh();
    // The whole text, before it is shortened to fit.
    const QString& FullText() const { return m_full; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    CSubscription m_changes;
    QString m_portLabel;
    QString m_serverBrief;
    QString m_serverWhole;
    QString m_full;
};

// "接続済み", "ポート待ち", ...
QString LinkStatusLabel(LinkStatus status);
// "RS-485 05 Qelvar-64", "RS-232C Qelvar-32": the interface, the address on
// RS-485 and the model in use.
QString LinkTargetText();
