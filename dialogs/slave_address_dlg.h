// The slave address editor: gives the switcher a new slave address (SA). Once
// the switcher has taken it ("GO"), the program offers to talk to it there
// from now on (g_nSlaveAddress).
#pragma once

#include <QDialog>
#include <QTimer>

class CSlaveAddressDlg : public QDialog {
public:
    explicit CSlaveAddressDlg(QWidget* parent = nullptr);

private:
    void OnSet();
    void OnWatchAnswer();
    void OfferNewAddress();

    int m_nNewAddress = 0;
    int m_nSentTo = 0;            // the address SA went to
    unsigned long m_nSentId = 0;  // SA's line, as the link owes it a reply
    QTimer m_watch;               // until SA's line is answered
};
