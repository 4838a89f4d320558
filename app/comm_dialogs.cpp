#include "app/comm_dialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <filesystem>

#include "app/bus_search.h"
#include "app/link_words.h"
#include "app/port_device_list.h"
#include "app/profile_problems.h"
#include "app/simulator_link.h"
#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/qt_text.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/port_name.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/switcher_model.h"
#include "res/link_dialogs.h"
#include "sink/message_sink.h"

namespace {

QComboBox* Combo(QDialog& dialog, int id) {
    return FindControl<QComboBox>(dialog, id);
}

// "03  Qelvar-32" on RS-485, the model alone on RS-232C.
QString FoundText(const CScanAnswer& answer) {
    const QString model = answer.nModel >= 0 ? QString(ModelName(answer.nModel))
                                             : "機種不明 (" + Text(PrintableReply(answer)) + ")";
    if (answer.nAddress < 0) return model;
    return Text(TwoDigits(answer.nAddress)) + "  " + model;
}

// The same device under two names (a by-id link and its node) is one device.
bool SameDevice(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

}  // namespace

CCommSettingsDlg::CCommSettingsDlg(int nComPort, int nInterface, QWidget* parent,
                                   CSimulatorLink* simulator)
    : QDialog(parent),
      m_nComPort(nComPort),
      m_nInterface(nInterface),
      m_pSimulator(simulator),
      m_pSearch(new CBusSearch(this)) {
    BuildDialog(*this, CommSettingsWithDevicesTemplate());
    m_pPorts = Combo(*this, IDC_COM_PORT);
    m_pInterfaces = Combo(*this, IDC_INTERFACE);
    m_pPorts->setCurrentIndex(m_nComPort);
    m_pInterfaces->setCurrentIndex(m_nInterface);
    for (int n = 0; n < kComPorts; ++n) m_devices[n] = m_initialDevices[n] = PortPathOf(n);
    BuildDeviceRow();
    BuildSearchRow();
    g_nCornerClicks = 0;
}

CCommSettingsDlg::~CCommSettingsDlg() {
    m_pSearch->Stop();
}

void CCommSettingsDlg::BuildDeviceRow() {
    m_present = ListSerialDevices();
    m_pDevice = Combo(*this, IDC_PORT_DEVICE);
    m_pDeviceInfo = FindControl<QLabel>(*this, IDC_PORT_DEVICE_INFO);
    m_pDevice->setInsertPolicy(QComboBox::NoInsert);
    m_pDevice->setCompleter(nullptr);  // typing must not run into an entry's description
    FillDeviceList(*m_pDevice, m_present);
    m_pDevice->view()->setMinimumWidth(m_pDevice->view()->sizeHintForColumn(0));
    // A picked entry leaves its path alone in the field.
    connect(m_pDevice, &QComboBox::activated, this,
            [this](int index) { m_pDevice->setEditText(m_pDevice->itemData(index).toString()); });
    connect(m_pDevice, &QComboBox::editTextChanged, this, &CCommSettingsDlg::OnDeviceText);
    connect(m_pPorts, &QComboBox::currentIndexChanged, this, [this](int index) {
        ForgetSearch();
        ShowDevice(index);
    });
    ShowDevice(m_nComPort);
}

void CCommSettingsDlg::BuildSearchRow() {
    m_pSearchButton = FindControl<QPushButton>(*this, IDC_BUS_SEARCH);
    m_pFound = Combo(*this, IDC_BUS_FOUND);
    m_pSearchStatus = FindControl<QLabel>(*this, IDC_BUS_STATUS);
    m_pFound->setEnabled(false);
    connect(m_pFound, &QComboBox::activated, this, [this] { m_bUserPicked = true; });
    connect(m_pSearchButton, &QPushButton::clicked, this, &CCommSettingsDlg::OnSearch);
    connect(m_pInterfaces, &QComboBox::currentIndexChanged, this, [this] { ForgetSearch(); });
    m_pSearch->onProgress = [this](int asked, int total) { OnSearchProgress(asked, total); };
    m_pSearch->onAnswer = [this] { OnSearchAnswer(); };
    m_pSearch->onFinished = [this] { OnSearchFinished(); };
    m_pSearch->onConnecting = [this] { m_pSearchStatus->setText("接続中"); };
    m_pSearch->onFailed = [this](const CLinkFailure& failure) {
        SetSearching(false);
        OnSearchAnswer();
        KeepFound();
        // The reason goes below the device, where there is room for it.
        m_pSearchStatus->setText("接続できません");
        m_pDeviceInfo->setText(Text(LinkFailureWords(failure)));
    };
}

void CCommSettingsDlg::ShowDevice(int nComPort) {
    m_nShown = std::clamp(nComPort, 0, kComPorts - 1);
    m_pDevice->setEditText(Text(m_devices[static_cast<size_t>(m_nShown)]));
    OnDeviceText(m_pDevice->currentText());
}

void CCommSettingsDlg::OnDeviceText(const QString& text) {
    const std::string device = text.trimmed().toStdString();
    auto& shown = m_devices[static_cast<size_t>(m_nShown)];
    if (device != shown) {
        shown = device;
        ForgetSearch();
    }
    m_pDeviceInfo->setText(m_pSimulator ? QString("シミュレータで動作中のため保存されません")
                                        : DeviceInfoText(device, m_present));
}

std::vector<int> CCommSettingsDlg::ChangedPorts() const {
    std::vector<int> changed;
    for (int n = 0; n < kComPorts; ++n) {
        if (m_devices[n] != m_initialDevices[n]) changed.push_back(n);
    }
    return changed;
}

bool CCommSettingsDlg::ValidDevices() {
    for (int n : ChangedPorts()) {
        auto& device = m_devices[static_cast<size_t>(n)];
        if (device.empty()) device = DefaultPortPath(n);  // back to the default
        if (KindOfPortName(device) == PortNameKind::kInvalid) {
            ShowWarning("COM" + std::to_string(n + 1) + " の接続先が正しくありません: " + device +
                        "\n(/dev/... のデバイス、tcp://ホスト:ポート、rfc2217://ホスト:ポート)");
            m_pPorts->setCurrentIndex(n);
            return false;
        }
    }
    return true;
}

// --- Search ---

void CCommSettingsDlg::OnSearch() {
    if (m_pSearch->Running()) {
        m_pSearch->Stop();
        SetSearching(false);
        m_pSearchStatus->setText("中止しました");
        return;
    }
    if (g_nSendStep != 0) return;  // a run owns the link
    const int bRs485 = m_pInterfaces->currentIndex();
    if (!m_pSimulator && !ValidDevices()) return;
    m_pFound->clear();
    m_pFound->setEnabled(false);
    m_bUserPicked = false;
    SetSearching(true);
    StartSearch(bRs485);
}

// The search asks the switchers on the port and interface shown. The port the
// link is on is asked over the link; any other over a connection of the
// search's own, so that the link stays as it is whatever the dialog ends
// with. The virtual switcher speaks the interface shown instead.
void CCommSettingsDlg::StartSearch(int bRs485) {
    m_searched = {CommPortPath(), bRs485};
    if (m_pSimulator) {
        m_pSimulator->Follow(bRs485, g_nModel);
        m_bSimulatorFollowed = true;
        m_pSearch->Start(bRs485 != 0);
        return;
    }
    const std::string device = m_devices[static_cast<size_t>(m_nShown)];
    if (SameDevice(device, CommPortPath())) {
        m_pSearch->Start(bRs485 != 0);
    } else {
        m_searched.first = device;
        m_pSearch->StartOn(device, bRs485 != 0);
    }
}

void CCommSettingsDlg::PutLinkBack(bool accepted) {
    if (m_bSimulatorFollowed && !accepted) m_pSimulator->Follow(g_bRs485, g_nModel);
}

void CCommSettingsDlg::OnSearchProgress(int asked, int total) {
    m_pSearchStatus->setText(total > 1 ? QString("検索中 %1/%2").arg(asked).arg(total)
                                       : QString("検索中"));
}

// The list offers every switcher that answered; the one the user picked stays
// picked, else the one the program talks to now, else the first.
void CCommSettingsDlg::OnSearchAnswer() {
    const auto& answers = m_pSearch->Answers();
    const int wanted = m_bUserPicked ? m_pFound->currentData().toInt() : g_nSlaveAddress;
    const QSignalBlocker quiet(m_pFound);
    m_pFound->clear();
    for (const auto& answer : answers) m_pFound->addItem(FoundText(answer), answer.nAddress);
    m_pFound->setCurrentIndex(std::max(m_pFound->findData(wanted), 0));
    m_pFound->setEnabled(!answers.empty());
}

// What was found, where, for the editors' slave address lists and File Open.
void CCommSettingsDlg::KeepFound() {
    Link().Found().Found(m_searched.first, m_searched.second != 0, m_pSearch->Answers());
}

void CCommSettingsDlg::OnSearchFinished() {
    SetSearching(false);
    OnSearchAnswer();
    KeepFound();
    const size_t found = m_pSearch->Answers().size();
    m_pSearchStatus->setText(found ? QString("%1 台見つかりました").arg(found)
                                   : QString("応答がありません"));
}

void CCommSettingsDlg::SetSearching(bool searching) {
    m_pSearchButton->setText(searching ? "中止" : "検索");
    for (QWidget* w : std::initializer_list<QWidget*>{m_pPorts, m_pInterfaces, m_pDevice}) {
        w->setEnabled(!searching);
    }
}

// Answers belong to the port and interface they came from.
void CCommSettingsDlg::ForgetSearch() {
    if (!m_pFound || (!m_pSearch->Running() && m_pFound->count() == 0)) return;
    m_pSearch->Stop();
    SetSearching(false);
    m_pFound->clear();
    m_pFound->setEnabled(false);
    m_pSearchStatus->clear();
}

void CCommSettingsDlg::done(int result) {
    if (result == Accepted) {
        if (!m_pSimulator && !ValidDevices()) return;
        m_nComPort = m_pPorts->currentIndex();
        m_nInterface = m_pInterfaces->currentIndex();
        const auto& answers = m_pSearch->Answers();
        const int picked = m_pFound->currentIndex();
        if (picked >= 0 && picked < static_cast<int>(answers.size())) {
            m_picked = answers[static_cast<size_t>(picked)];
        }
    }
    m_pSearch->Stop();
    PutLinkBack(result == Accepted);
    QDialog::done(result);
}

CModelSelectDlg::CModelSelectDlg(int nModel, QWidget* parent) : QDialog(parent), m_nModel(nModel) {
    BuildDialog(*this, ModelSelectTemplate());
    Combo(*this, IDC_MODEL)->setCurrentIndex(m_nModel);
    g_nCornerClicks = 0;
}

void CModelSelectDlg::done(int result) {
    if (result == Accepted) m_nModel = Combo(*this, IDC_MODEL)->currentIndex();
    QDialog::done(result);
}

namespace {

// A switcher picked from the search: the program talks to its address and
// treats it as the model it said it is. Why the model was not kept, if so.
std::optional<CProfileFault> ApplyPickedSwitcher(const CScanAnswer& picked,
                                                 CSimulatorLink* simulator) {
    if (g_bRs485 && picked.nAddress >= 0) g_nSlaveAddress = picked.nAddress;
    if (picked.nModel < 0 || picked.nModel == g_nModel) return std::nullopt;
    g_nModel = picked.nModel;
    return simulator ? std::nullopt : WriteModelSetting();
}

// The first of the faults met, which the one box reports.
void KeepFirst(std::optional<CProfileFault>& first, std::optional<CProfileFault> fault) {
    if (!first) first = std::move(fault);
}

// Opens device for the selected port in place of the profile's, or stops doing so.
void HoldDevice(CProfileProblems& problems, const std::string& device) {
    Link().SetCommPortOverride(device);
    problems.SetHeldDevice(device);
}

// The devices the user changed go to the profile. The selected port's device
// holds until the end even when the profile does not keep it: the link opens
// what the dialog showed, never a default in its place. A device held so is
// let go when another port is selected or the profile keeps its successor.
std::optional<CProfileFault> KeepDevices(const CCommSettingsDlg& dlg, int nPreviousPort,
                                         CProfileProblems& problems) {
    bool held =
        !problems.HeldDevice().empty() && Link().CommPortOverride() == problems.HeldDevice();
    if (held && g_nComPort != nPreviousPort) {
        HoldDevice(problems, "");
        held = false;
    }
    std::optional<CProfileFault> first;
    for (int n : dlg.ChangedPorts()) {
        const std::string& device = dlg.m_devices[static_cast<size_t>(n)];
        auto fault = WritePortPath(n, device);
        if (n == g_nComPort && (fault || held)) HoldDevice(problems, fault ? device : "");
        KeepFirst(first, std::move(fault));
    }
    return first;
}

}  // namespace

bool OnCommSettings(QWidget* parent, CProfileProblems& problems, CSimulatorLink* simulator) {
    CCommSettingsDlg dlg(g_nComPort, g_bRs485, parent, simulator);
    if (dlg.exec() != QDialog::Accepted) return false;
    const int nPreviousPort = g_nComPort;
    g_nComPort = dlg.m_nComPort;
    g_bRs485 = dlg.m_nInterface;
    std::optional<CProfileFault> fault;
    if (dlg.m_picked) fault = ApplyPickedSwitcher(*dlg.m_picked, simulator);
    if (simulator) {
        simulator->Follow(g_bRs485, g_nModel);
    } else {
        KeepFirst(fault, KeepDevices(dlg, nPreviousPort, problems));
    }
    RestartLink(ShowSetupBox);
    if (!simulator) KeepFirst(fault, WriteCommSettings());
    if (fault) problems.NotKept(*fault, "通信の設定");
    return true;
}

void OnModelSelect(QWidget* parent, CProfileProblems& problems, CSimulatorLink* simulator) {
    CModelSelectDlg dlg(g_nModel, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    SwitchModel(dlg.m_nModel, problems, simulator);
}

void SwitchModel(int nModel, CProfileProblems& problems, CSimulatorLink* simulator) {
    g_nModel = nModel;
    if (simulator) {
        simulator->Follow(g_bRs485, g_nModel);
    } else if (auto fault = WriteModelSetting()) {
        problems.NotKept(*fault, "選択したモデル");
    }
}

void OnAppAbout(QWidget* parent) {
    QDialog dlg(parent);
    BuildDialog(dlg, AboutTemplate());
    dlg.exec();
}
