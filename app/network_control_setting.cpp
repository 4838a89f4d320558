#include "app/network_control_setting.h"

namespace {

const char kSection[] = "Network";
const char kOnKey[] = "videohub";
const char kPortKey[] = "port";
const char kListenKey[] = "listen";
constexpr int kHighestPort = 65535;

}  // namespace

CNetworkControlSetting ReadNetworkControlSetting() {
    const CIniFile profile = LoadProfile();
    CNetworkControlSetting setting;
    setting.bOn = profile.GetInt(kSection, kOnKey, 0) == 1;
    const int port = profile.GetInt(kSection, kPortKey, kDefaultVideohubPort);
    if (port >= 1 && port <= kHighestPort) setting.nPort = port;
    setting.strListen = profile.GetString(kSection, kListenKey).value_or("");
    return setting;
}

std::optional<CProfileFault> WriteNetworkControlOn(bool on) {
    return UpdateProfile([on](CIniFile& profile) { profile.SetInt(kSection, kOnKey, on ? 1 : 0); });
}

std::string NetworkControlStatePath() {
    const std::string profile = ProfilePath();
    const size_t slash = profile.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : profile.substr(0, slash);
    return folder + "/videohub.state";
}
