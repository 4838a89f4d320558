// The three persistent link settings and where the profile and the port are.
//
// Profile: an INI file, $XDG_CONFIG_HOME/Qelvar/Qelvar.ini (~/.config when
// unset) unless Link().SetProfilePath or QELVAR_PROFILE names another. Section
// "Qelvar-32_Section" holds "com_port", "rs_control" and "qlv_model"; an
// optional section "Ports" maps "COM1".."COM6" to device paths.
#pragma once

#include <string>
#include <vector>

#include "link/ini_file.h"

inline constexpr int kComPorts = 6;

extern int g_nComPort;  // 0..5 = "COM1".."COM6"
extern int g_bRs485;    // 0 = RS-232C, 1 = RS-485

// The profile in force: the one given (Link().SetProfilePath), else
// QELVAR_PROFILE, else the default.
std::string ProfilePath();
// The profile in force as it stands on disk (empty when there is none), and
// writing it back; for the program's own keys beside the link's.
CIniFile LoadProfile();
bool SaveProfile(const CIniFile& profile);

// g_nComPort, g_bRs485 and g_nModel from the profile; absent or unusable values
// give 0. Returns one note for each value that was present but unusable, saying
// which key was ignored and why, for the caller to show once.
std::vector<std::string> ReadCommSettings();
// Writes "com_port" then "rs_control".
void WriteCommSettings();
// Writes "qlv_model".
void WriteModelSetting();

// The device to open: the override (Link().SetCommPortOverride), else the
// profile's "Ports" entry for g_nComPort, else /dev/ttyS0../dev/ttyS5.
std::string CommPortPath();
// "COM1".."COM6" for g_nComPort; empty under an override, which has no name.
std::string CommPortName();

// What COMn (0..5) opens: the profile's "Ports" entry, else /dev/ttyS0../dev/ttyS5.
std::string PortPathOf(int nComPort);
// Writes "COMn=path" to the "Ports" section; false when the profile cannot be written.
bool WritePortPath(int nComPort, const std::string& path);
