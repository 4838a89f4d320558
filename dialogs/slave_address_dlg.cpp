#include "dialogs/slave_address_dlg.h"

#include <QComboBox>
#include <QPushButton>
#include <algorithm>

#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/editor_caption.h"
#include "dialog_kit/found_model.h"
#include "editors/slave_address_send.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/table_shapes.h"
#include "res/batch_dialogs.h"
#include "res/editor_dialogs.h"
#include "sink/message_sink.h"

namespace {

constexpr int kWatchMs = 50;

}  // namespace

// Opens on the address in use, the switcher's own until it is given another.
// The list stays live on RS-232C, where a lone switcher gets its address.
CSlaveAddressDlg::CSlaveAddressDlg(QWidget* parent) : QDialog(parent) {
    BuildDialog(*this, SlaveAddressTemplate());
    FindControl<QComboBox>(*this, IDC_SLAVE_ADDRESS)
        ->setCurrentIndex(std::clamp(g_nSlaveAddress, 0, kSlaveAddresses - 1));
    setWindowTitle(EditorCaption("スレーブ・アドレス File Name "));
    g_nCornerClicks = 0;
    connect(FindControl<QPushButton>(*this, IDC_SET), &QPushButton::clicked, this,
            &CSlaveAddressDlg::OnSet);
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &CSlaveAddressDlg::OnWatchAnswer);
}

void CSlaveAddressDlg::OnSet() {
    if (g_nSendStep != 0) return;
    m_nNewAddress = FindControl<QComboBox>(*this, IDC_SLAVE_ADDRESS)->currentIndex();
    const unsigned long before = Link().Owed().LastId();
    SendSlaveAddress(m_nNewAddress);
    if (Link().Owed().LastId() == before) return;  // nothing went out
    m_nSentId = Link().Owed().LastId();
    m_nSentTo = g_bRs485 ? g_nSlaveAddress : -1;
    m_watch.start();
}

// Waits for SA's answer, and for its box to be closed.
void CSlaveAddressDlg::OnWatchAnswer() {
    if (Link().Dispatching()) return;
    if (Link().Owed().Fate(m_nSentId) == ReplyFate::kOwed) return;
    m_watch.stop();
    if (Link().LastAnsweredId() != m_nSentId || Link().LastAnswerKind() != AnswerKind::kAck) {
        return;
    }
    if (m_nSentTo < 0) return;  // RS-232C sends no address
    Link().Found().Readdress(m_nSentTo, m_nNewAddress);
    OfferNewAddress();
}

void CSlaveAddressDlg::OfferNewAddress() {
    if (m_nNewAddress == g_nSlaveAddress) return;
    const std::string address = TwoDigits(m_nNewAddress);
    if (!AskQuestion("スイッチャーのアドレスを " + address + " にしました。\n今後はアドレス " +
                     address + " と通信しますか？")) {
        return;
    }
    g_nSlaveAddress = m_nNewAddress;
    OfferFoundModel(*this);
}
