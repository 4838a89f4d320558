#include "link/comm_settings.h"

#include <cstdlib>

#include "link/ini_file.h"
#include "model/settings_model.h"

int g_nComPort = 0;
int g_bRs485 = 0;

namespace {

const char kSection[] = "Qelvar-32_Section";

std::string g_strProfilePath;
std::string g_strPortOverride;

int InRangeOrZero(int value, int last) {
    return (value >= 0 && value <= last) ? value : 0;
}

CIniFile LoadProfile() {
    CIniFile ini;
    ini.Load(ProfilePath());
    return ini;
}

}  // namespace

void SetProfilePath(const std::string& path) {
    g_strProfilePath = path;
}

std::string ProfilePath() {
    if (!g_strProfilePath.empty()) return g_strProfilePath;
    if (const char* env = std::getenv("QELVAR_PROFILE"); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        return std::string(xdg) + "/Qelvar/Qelvar.ini";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/Qelvar/Qelvar.ini";
}

void ReadCommSettings() {
    CIniFile ini = LoadProfile();
    g_nComPort = InRangeOrZero(ini.GetInt(kSection, "com_port", 0), kComPorts - 1);
    g_bRs485 = InRangeOrZero(ini.GetInt(kSection, "rs_control", 0), 1);
    g_nModel = InRangeOrZero(ini.GetInt(kSection, "qlv_model", 0), 1);
}

void WriteCommSettings() {
    CIniFile ini = LoadProfile();
    ini.SetInt(kSection, "com_port", g_nComPort);
    ini.SetInt(kSection, "rs_control", g_bRs485);
    ini.Save(ProfilePath());
}

void WriteModelSetting() {
    CIniFile ini = LoadProfile();
    ini.SetInt(kSection, "qlv_model", g_nModel);
    ini.Save(ProfilePath());
}

void SetCommPortOverride(const std::string& path) {
    g_strPortOverride = path;
}

std::string CommPortPath() {
    if (!g_strPortOverride.empty()) return g_strPortOverride;
    int port = InRangeOrZero(g_nComPort, kComPorts - 1);
    std::string name = "COM" + std::to_string(port + 1);
    if (auto mapped = LoadProfile().GetString("Ports", name); mapped && !mapped->empty()) {
        return *mapped;
    }
    return "/dev/ttyS" + std::to_string(port);
}
