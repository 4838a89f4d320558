#include "app/comm_dialogs.h"

#include <QComboBox>

#include "app/dialog_builder.h"
#include "app/corner_clicks.h"
#include "app/simulator_link.h"
#include "link/comm_settings.h"
#include "link/link_lifetime.h"
#include "model/settings_model.h"
#include "res/link_dialogs.h"

namespace {

QComboBox* Combo(QDialog& dialog, int id) {
    return FindControl<QComboBox>(dialog, id);
}

}  // namespace

CCommSettingsDlg::CCommSettingsDlg(int nComPort, int nInterface, QWidget* parent)
    : QDialog(parent), m_nComPort(nComPort), m_nInterface(nInterface) {
    BuildDialog(*this, CommSettingsTemplate());
    Combo(*this, IDC_COM_PORT)->setCurrentIndex(m_nComPort);
    Combo(*this, IDC_INTERFACE)->setCurrentIndex(m_nInterface);
    g_nCornerClicks = 0;
}

void CCommSettingsDlg::done(int result) {
    if (result == Accepted) {
        m_nComPort = Combo(*this, IDC_COM_PORT)->currentIndex();
        m_nInterface = Combo(*this, IDC_INTERFACE)->currentIndex();
    }
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

void OnCommSettings(QWidget* parent, CSimulatorLink* simulator) {
    CCommSettingsDlg dlg(g_nComPort, g_bRs485, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    g_nComPort = dlg.m_nComPort;
    g_bRs485 = dlg.m_nInterface;
    if (simulator) simulator->Follow(g_bRs485, g_nModel);
    RestartLink();
    if (!simulator) WriteCommSettings();
}

void OnModelSelect(QWidget* parent, CSimulatorLink* simulator) {
    CModelSelectDlg dlg(g_nModel, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    g_nModel = dlg.m_nModel;
    if (simulator) {
        simulator->Follow(g_bRs485, g_nModel);
    } else {
        WriteModelSetting();
    }
}

void OnAppAbout(QWidget* parent) {
    QDialog dlg(parent);
    BuildDialog(dlg, AboutTemplate());
    dlg.exec();
}
