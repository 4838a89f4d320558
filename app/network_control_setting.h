// 通信 > ネットワーク制御 as the profile keeps it, under "Network": "videohub"
// (1 = on; off unless the profile says 1), the TCP "port" (9990 unless a
// port 1..65535 is given) and the "listen" address (empty: all addresses).
#pragma once

#include <optional>
#include <string>

#include "link/comm_settings.h"

inline constexpr int kDefaultVideohubPort = 9990;

struct CNetworkControlSetting {
    bool bOn = false;
    int nPort = kDefaultVideohubPort;
    std::string strListen;
};

CNetworkControlSetting ReadNetworkControlSetting();
// Keeps the switch; the port and the address are the user's to edit. Nothing
// when it was kept; else why not.
[[nodiscard]] std::optional<CProfileFault> WriteNetworkControlOn(bool on);
// Where the output labels, locks and port the server keeps live: beside the
// profile, so that each profile has its own.
std::string NetworkControlStatePath();
