// The communication settings and model selection dialogs, their handlers, and
// the About box.
#pragma once

#include <QDialog>

class CSimulatorLink;

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
// On the built-in virtual switcher (simulator given) the switcher follows the
// new interface instead, and the profile, which is the hardware's, is left alone.
void OnCommSettings(QWidget* parent, CSimulatorLink* simulator = nullptr);
// OK sets the model and writes it; the tables and the port are left alone.
// On the virtual switcher, the switcher follows and nothing is written.
void OnModelSelect(QWidget* parent, CSimulatorLink* simulator = nullptr);
void OnAppAbout(QWidget* parent);
