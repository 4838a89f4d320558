// The status-bar pane that shows the link: the port (COMn and its device or
// address) and where it stands, updated as the link's state changes. The pane
// keeps its width; a long name is shortened in the middle and the tool tip
// holds it whole, with the reason of the last failure.
#pragma once

#include <QLabel>

#include "link/line_watchers.h"
#include "link/link_state.h"

class CLinkPane : public QLabel {
    Q_OBJECT
public:
    static constexpr int kWidth = 200;

    explicit CLinkPane(QWidget* parent = nullptr);
    // Shows Link().State() as it is now.
    void Refresh();
    // The whole text, before it is shortened to fit.
    const QString& FullText() const { return m_full; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    CSubscription m_changes;
    QString m_full;
};

// "接続済み", "ポート待ち", ...
QString LinkStatusLabel(LinkStatus status);
