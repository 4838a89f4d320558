// The three persistent link settings and where the profile and the port are.
//
// Profile: an INI file, $XDG_CONFIG_HOME/Qelvar/Qelvar.ini (~/.config when
// unset) unless Link().SetProfilePath or QELVAR_PROFILE names another. Section
// "Qelvar-32_Section" holds "com_port", "rs_control" and "qlv_model"; an
// optional section "Ports" maps "COM1".."COM6" to device paths.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/ini_file.h"

inline constexpr int kComPorts = 6;

extern int g_nComPort;  // 0..5 = "COM1".."COM6"
extern int g_bRs485;    // 0 = RS-232C, 1 = RS-485

// The profile in force: the one given (Link().SetProfilePath), else
// QELVAR_PROFILE, else the default.
std::string ProfilePath();

// A profile that could not be read or written, for the program and qelvarctl
// to say in their own words.
struct CProfileFault {
    enum class Kind {
        kRead,   // its settings are not in force: the defaults are
        kWrite,  // a setting was not kept
    };
    Kind kind = Kind::kRead;
    std::string strPath;
    std::string strReason;  // the system's message for the error, or what the path is

    bool operator==(const CProfileFault&) const = default;
};

// The profile in force as it stands on disk: empty when there is none, and
// when it cannot be read, which *fault then tells. For the program's own keys
// beside the link's.
CIniFile LoadProfile(std::optional<CProfileFault>* fault = nullptr);
// Reads the profile, lets change edit it and writes it back. A profile that
// cannot be read is not written, or whatever else it holds would be lost: its
// read fault comes back instead.
std::optional<CProfileFault> UpdateProfile(const std::function<void(CIniFile&)>& change);

struct CCommSettingsRead {
    std::optional<CProfileFault> fault;  // unreadable: every value is 0, COM1 its default device
    // One for each value that was present but unusable, saying which key was
    // ignored and why.
    std::vector<std::string> notes;
};

// g_nComPort, g_bRs485 and g_nModel from the profile; absent or unusable values
// give 0. What went wrong is for the caller to show once.
CCommSettingsRead ReadCommSettings();
// Writes "com_port" then "rs_control".
[[nodiscard]] std::optional<CProfileFault> WriteCommSettings();
// Writes "qlv_model".
[[nodiscard]] std::optional<CProfileFault> WriteModelSetting();

// The device to open: the override (Link().SetCommPortOverride), else the
// profile's "Ports" entry for g_nComPort, else /dev/ttyS0../dev/ttyS5.
std::string CommPortPath();
// "COM1".."COM6" for g_nComPort; empty under an override, which has no name.
std::string CommPortName();

// What COMn (0..5) opens: the profile's "Ports" entry, else /dev/ttyS0../dev/ttyS5.
std::string PortPathOf(int nComPort);
// COMn's device when the profile does not name one: /dev/ttyS0../dev/ttyS5.
std::string DefaultPortPath(int nComPort);
// Writes "COMn=path" to the "Ports" section.
[[nodiscard]] std::optional<CProfileFault> WritePortPath(int nComPort, const std::string& path);
