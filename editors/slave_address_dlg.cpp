#include "editors/slave_address_dlg.h"

#include <QComboBox>
#include <QPushButton>

#include "app/dialog_builder.h"
#include "app/editor_caption.h"
#include "app/corner_clicks.h"
#include "editors/slave_address_send.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/editor_dialogs.h"

// Opens on "00" whatever the model's address: the new address is a fresh
// choice, and the list stays live on RS-232C, where a lone switcher gets its address.
CSlaveAddressDlg::CSlaveAddressDlg(QWidget* parent) : QDialog(parent) {
    BuildDialog(*this, SlaveAddressTemplate());
    FindControl<QComboBox>(*this, IDC_SLAVE_ADDRESS)->setCurrentIndex(0);
    setWindowTitle(EditorCaption("スレーブ・アドレス File Name "));
    g_nCornerClicks = 0;
    connect(FindControl<QPushButton>(*this, IDC_SET), &QPushButton::clicked, this,
            &CSlaveAddressDlg::OnSet);
}

void CSlaveAddressDlg::OnSet() {
    if (g_nSendStep != 0) return;
    m_nNewAddress = FindControl<QComboBox>(*this, IDC_SLAVE_ADDRESS)->currentIndex();
    SendSlaveAddress(m_nNewAddress);
}
