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

CIniFile LoadProfile(std::optional<CProfileFault>* fault) {
    CIniFile ini;
    const std::string path = ProfilePath();
    const CIniResult read = ini.Load(path);
    if (fault) {
        *fault =
            read ? std::nullopt
                 : std::optional(CProfileFault{CProfileFault::Kind::kRead, path, read.strReason});
    }
    return ini;
}

std::optional<CProfileFault> UpdateProfile(const std::function<void(CIniFile&)>& change) {
    std::optional<CProfileFault> fault;
    CIniFile ini = LoadProfile(&fault);
    if (fault) return fault;
    change(ini);
    const std::string path = ProfilePath();
    const CIniResult written = ini.Save(path);
    if (written) return std::nullopt;
    return CProfileFault{CProfileFault::Kind::kWrite, path, written.strReason};
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

CCommSettingsRead ReadCommSettings() {
    CCommSettingsRead read;
    const CIniFile ini = LoadProfile(&read.fault);
    g_nComPort = ReadSetting(ini, "com_port", kComPorts - 1, read.notes);
    g_bRs485 = ReadSetting(ini, "rs_control", 1, read.notes);
    g_nModel = ReadSetting(ini, "qlv_model", 1, read.notes);
    return read;
}

std::optional<CProfileFault> WriteCommSettings() {
    return UpdateProfile([](CIniFile& ini) {
        ini.SetInt(kSection, "com_port", g_nComPort);
        ini.SetInt(kSection, "rs_control", g_bRs485);
    });
}

std::optional<CProfileFault> WriteModelSetting() {
    return UpdateProfile([](CIniFile& ini) { ini.SetInt(kSection, "qlv_model", g_nModel); });
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
    return DefaultPortPath(n);
}

std::string DefaultPortPath(int nComPort) {
    return "/dev/ttyS" + std::to_string(InRangeOrZero(nComPort, kComPorts - 1));
}

std::optional<CProfileFault> WritePortPath(int nComPort, const std::string& path) {
    const std::string key = "COM" + std::to_string(InRangeOrZero(nComPort, kComPorts - 1) + 1);
    return UpdateProfile([&](CIniFile& ini) { ini.SetString(kPortsSection, key, path); });
}

std::string CommPortName() {
    if (!Link().CommPortOverride().empty()) return "";
    return "COM" + std::to_string(InRangeOrZero(g_nComPort, kComPorts - 1) + 1);
}
