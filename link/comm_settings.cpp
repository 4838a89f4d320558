#include "link/comm_settings.h"

#include <charconv>
#include <cstdlib>

#include "link/ini_file.h"
#include "link/link_context.h"
#include "model/settings_model.h"

int g_nComPort = 0;
int g_bRs485 = 0;

namespace {

const char kSection[] = "Qelvar-32_Section";
const char kPortsSection[] = "Ports";

int InRangeOrZero(int value, int last) {
    return (value >= 0 && value <= last) ? value : 0;
}

// The key's value in 0..last; 0, with a note why, when it is present but unusable.
int ReadSetting(const CIniFile& ini, const char* key, int last, std::vector<std::string>& notes) {
    const std::optional<std::string> text = ini.GetString(kSection, key);
    if (!text) return 0;
    int value = 0;
    const char* end = text->data() + text->size();
    auto [ptr, ec] = std::from_chars(text->data(), end, value);
    const bool tooLarge = ec == std::errc::result_out_of_range && ptr == end;
    std::string why;
    if (text->empty()) {
        why = "no value";
    } else if (!tooLarge && (ec != std::errc() || ptr != end)) {
        why = "not a whole number";
    } else if (tooLarge || value < 0 || value > last) {
        why = last == 1 ? "not 0 or 1" : "not 0.." + std::to_string(last);
    }
    if (why.empty()) return value;
    notes.push_back("profile " + ProfilePath() + ": " + key + "=" + *text + " ignored (" + why +
                    "), 0 used");
    return 0;
}

}  // namespace

CIniFile LoadProfile() {
    CIniFile ini;
    ini.Load(ProfilePath());
    return ini;
}

bool SaveProfile(const CIniFile& profile) {
    return profile.Save(ProfilePath());
}

std::string ProfilePath() {
    if (const std::string& given = Link().GivenProfilePath(); !given.empty()) return given;
    if (const char* env = std::getenv("QELVAR_PROFILE"); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        return std::string(xdg) + "/Qelvar/Qelvar.ini";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/Qelvar/Qelvar.ini";
}

std::vector<std::string> ReadCommSettings() {
    const CIniFile ini = LoadProfile();
    std::vector<std::string> notes;
    g_nComPort = ReadSetting(ini, "com_port", kComPorts - 1, notes);
    g_bRs485 = ReadSetting(ini, "rs_control", 1, notes);
    g_nModel = ReadSetting(ini, "qlv_model", 1, notes);
    return notes;
}

void WriteCommSettings() {
    CIniFile ini = LoadProfile();
    ini.SetInt(kSection, "com_port", g_nComPort);
    ini.SetInt(kSection, "rs_control", g_bRs485);
    SaveProfile(ini);
}

void WriteModelSetting() {
    CIniFile ini = LoadProfile();
    ini.SetInt(kSection, "qlv_model", g_nModel);
    SaveProfile(ini);
}

std::string CommPortPath() {
    if (const std::string& path = Link().CommPortOverride(); !path.empty()) return path;
    return PortPathOf(g_nComPort);
}

std::string PortPathOf(int nComPort) {
    const int n = InRangeOrZero(nComPort, kComPorts - 1);
    if (auto mapped = LoadProfile().GetString(kPortsSection, "COM" + std::to_string(n + 1));
        mapped && !mapped->empty()) {
        return *mapped;
    }
    return "/dev/ttyS" + std::to_string(n);
}

bool WritePortPath(int nComPort, const std::string& path) {
    CIniFile ini = LoadProfile();
    ini.SetString(kPortsSection, "COM" + std::to_string(InRangeOrZero(nComPort, kComPorts - 1) + 1),
                  path);
    return SaveProfile(ini);
}

std::string CommPortName() {
    if (!Link().CommPortOverride().empty()) return "";
    return "COM" + std::to_string(InRangeOrZero(g_nComPort, kComPorts - 1) + 1);
}
