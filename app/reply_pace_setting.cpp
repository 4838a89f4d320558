#include "app/reply_pace_setting.h"

#include "link/comm_settings.h"
#include "link/ini_file.h"

namespace {

const char kSection[] = "Link";
const char kKey[] = "ack_pace";

}  // namespace

bool ReadReplyPaceSetting() {
    CIniFile profile;
    profile.Load(ProfilePath());
    return profile.GetInt(kSection, kKey, 0) == 1;
}

void WriteReplyPaceSetting(bool paced) {
    CIniFile profile;
    profile.Load(ProfilePath());
    profile.SetInt(kSection, kKey, paced ? 1 : 0);
    profile.Save(ProfilePath());
}
