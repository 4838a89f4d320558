#include "app/reply_pace_setting.h"

namespace {

const char kSection[] = "Link";
const char kKey[] = "ack_pace";

}  // namespace

bool ReadReplyPaceSetting() {
    return LoadProfile().GetInt(kSection, kKey, 0) == 1;
}

std::optional<CProfileFault> WriteReplyPaceSetting(bool paced) {
    return UpdateProfile(
        [paced](CIniFile& profile) { profile.SetInt(kSection, kKey, paced ? 1 : 0); });
}
