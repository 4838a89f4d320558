#include "dialog_kit/found_model.h"

#include <QDialog>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/switcher_model.h"
#include "sink/message_sink.h"

std::optional<int> FoundOtherModel() {
    const int address = g_bRs485 ? g_nSlaveAddress : -1;
    const auto model = Link().Found().ModelAt(address, CommPortPath(), g_bRs485 != 0);
    if (!model || *model == g_nModel) return std::nullopt;
    return model;
}

bool OfferFoundModel(QDialog& dialog) {
    if (g_nSendStep != 0) return false;
    const auto model = FoundOtherModel();
    if (!model) return false;
    const std::string name = ModelName(*model);
    const std::string who = g_bRs485 ? "アドレス " + TwoDigits(g_nSlaveAddress) + " の" : "";
    if (!AskQuestion(who + "スイッチャーは " + name + " です。\nモデルを " + name +
                     " に切り替えますか？")) {
        return false;
    }
    dialog.done(kSwitchModelResult);
    return true;
}
