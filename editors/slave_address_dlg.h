// The slave address editor: gives the switcher a new slave address (SA). The
// address the PC sends to (g_nSlaveAddress) is not changed.
#pragma once

#include <QDialog>

class CSlaveAddressDlg : public QDialog {
public:
    explicit CSlaveAddressDlg(QWidget* parent = nullptr);

private:
    void OnSet();

    int m_nNewAddress = 0;
};
