#include "app/reply_pace_setting.h"

#include "link/comm_settings.h"

namespace {

const char kSection[] = "Link";
const char kKey[] = "ack_pace";

}  // namespace

bool ReadReplyPaceSetting() {
    return LoadProfile().GetInt(kSection, kKey, 0) == 1;
}

void WriteReplyPaceSetting(bool paced) {
    CIniFile profile = LoadProfile();
    profile.SetInt(kSection, kKey, paced ? 1 : 0);
    SaveProfile(profile);
}
