// The communication settings and model selection dialogs, their handlers, and
// the About box.
#pragma once

#include <QDialog>

class CCommSettingsDlg : public QDialog {
public:
    CCommSettingsDlg(int nComPort, int nInterface, QWidget* parent = nullptr);
    int m_nComPort;
    int m_nInterface;

protected:
    void done(int result) override;
};

class CModelSelectDlg : public QDialog {
public:
    explicit CModelSelectDlg(int nModel, QWidget* parent = nullptr);
    int m_nModel;

protected:
    void done(int result) override;
};

// OK always restarts the link and writes both keys; CLOSE changes nothing.
void OnCommSettings(QWidget* parent);
// OK sets the model and writes it; the tables and the port are left alone.
void OnModelSelect(QWidget* parent);
void OnAppAbout(QWidget* parent);
