// The communication settings and model selection dialogs, their handlers, and
// the About box.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/bus_scan.h"
#include "link/comm_settings.h"
#include "link/serial_devices.h"

class CBusSearch;
class CProfileProblems;
class CSimulatorLink;
class QComboBox;
class QLabel;
class QPushButton;

// The port and interface lists, below them the device the selected COM port
// opens (picked from the serial devices present or typed: a device path or a
// tcp:// / rfc2217:// address), and "検索", which asks each slave address on
// the selected port and interface and offers the switchers that answer.
class CCommSettingsDlg : public QDialog {
public:
    CCommSettingsDlg(int nComPort, int nInterface, QWidget* parent = nullptr,
                     CSimulatorLink* simulator = nullptr);
    ~CCommSettingsDlg() override;

    int m_nComPort;
    int m_nInterface;
    // The device of each COM port as shown and edited, and as it was.
    std::array<std::string, kComPorts> m_devices;
    std::array<std::string, kComPorts> m_initialDevices;
    // The switcher picked from a search, on OK.
    std::optional<CScanAnswer> m_picked;

    // The COM ports (0..5) whose device the user changed.
    std::vector<int> ChangedPorts() const;
    CBusSearch& Search() { return *m_pSearch; }

protected:
    void done(int result) override;

private:
    void BuildDeviceRow();
    void BuildSearchRow();
    void ShowDevice(int nComPort);
    void OnDeviceText(const QString& text);
    void OnSearch();
    void OnSearchProgress(int asked, int total);
    void OnSearchAnswer();
    void OnSearchFinished();
    void ForgetSearch();
    void SetSearching(bool searching);
    bool ValidDevices();
    void StartSearch(int bRs485);
    void KeepFound();
    void PutLinkBack(bool accepted);

    CSimulatorLink* m_pSimulator;
    std::vector<CSerialDevice> m_present;
    int m_nShown = 0;  // the COM port whose device the field shows
    CBusSearch* m_pSearch;
    QComboBox* m_pPorts = nullptr;
    QComboBox* m_pInterfaces = nullptr;
    QComboBox* m_pDevice = nullptr;
    QLabel* m_pDeviceInfo = nullptr;
    QPushButton* m_pSearchButton = nullptr;
    QComboBox* m_pFound = nullptr;
    QLabel* m_pSearchStatus = nullptr;
    bool m_bSimulatorFollowed = false;
    std::pair<std::string, int> m_searched;  // the port and interface of the last search
    bool m_bUserPicked = false;              // from the list of switchers found
};

class CModelSelectDlg : public QDialog {
public:
    explicit CModelSelectDlg(int nModel, QWidget* parent = nullptr);
    int m_nModel;

protected:
    void done(int result) override;
};

// OK always restarts the link and writes both keys, and the device of each
// COM port the user changed; a switcher picked from a search gives the slave
// address and the model. CLOSE changes nothing. On the built-in virtual
// switcher (simulator given) the switcher follows the new interface instead,
// and the profile, which is the hardware's, is left alone. What the profile
// does not keep holds until the end, and problems says so. True on OK.
bool OnCommSettings(QWidget* parent, CProfileProblems& problems,
                    CSimulatorLink* simulator = nullptr);
// OK sets the model and writes it; the tables and the port are left alone.
// On the virtual switcher, the switcher follows and nothing is written.
void OnModelSelect(QWidget* parent, CProfileProblems& problems,
                   CSimulatorLink* simulator = nullptr);
// What OK of the model dialog does with nModel.
void SwitchModel(int nModel, CProfileProblems& problems, CSimulatorLink* simulator = nullptr);
void OnAppAbout(QWidget* parent);
