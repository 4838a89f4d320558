// A bus scan run from the event loop: each address is asked when the one
// before has answered or its time is up, on a timer, so the window stays live
// while the scan runs. The scan keeps taking the link's replies until Stop, so
// a late answer lands in the list, not in the settings model.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "link/bus_scan.h"

class CBusSearch : public QObject {
public:
    explicit CBusSearch(QObject* parent = nullptr);
    ~CBusSearch() override;

    // Starts a new scan (ending one that runs).
    void Start(bool bRs485, int nTimeoutMs = kDefaultScanTimeoutMs);
    // Ends the scan and gives the link's replies back to the interpreter.
    void Stop();
    bool Running() const { return m_bRunning; }
    const std::vector<CScanAnswer>& Answers() const;

    std::function<void(int asked, int total)> onProgress;
    std::function<void()> onAnswer;    // each answer, a late one too
    std::function<void()> onFinished;  // every address asked

private:
    void Step();

    std::unique_ptr<CBusScan> m_pScan;
    QTimer m_timer;
    bool m_bRunning = false;
};
