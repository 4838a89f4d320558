#include "cli/fleet_inventory.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include "link/ini_file.h"
#include "link/port_name.h"
#include "model/file_io.h"
#include "model/settings_file_format.h"

namespace {

const char* const kKeys[] = {"port", "address", "model", "file"};

std::string Lower(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
}

// Section and key names match as the profile reader matches them.
bool SameName(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

bool IsKnownKey(const std::string& key) {
    return std::any_of(std::begin(kKeys), std::end(kKeys),
                       [&](const char* known) { return SameName(key, known); });
}

std::string Section(const std::string& name) {
    return "[" + name + "]";
}

std::string LineRef(int line) {
    return "line " + std::to_string(line);
}

class CInventoryReader {
public:
    explicit CInventoryReader(const std::string& path) : m_path(path) {
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos) m_folder = path.substr(0, slash + 1);
    }

    CFleetInventory Read() {
        struct stat st {};
        if (::stat(m_path.c_str(), &st) != 0) {
            Fault(0, std::strerror(errno));
        } else if (const CIniResult loaded = m_ini.Load(m_path); !loaded) {
            Fault(0, loaded.strReason);
        } else {
            ReadSections();
            CheckLines();
        }
        std::stable_sort(m_out.errors.begin(), m_out.errors.end(),
                         [](const auto& a, const auto& b) { return a.nLine < b.nLine; });
        if (!m_out.errors.empty()) m_out.switchers.clear();
        return std::move(m_out);
    }

private:
    void Fault(int line, std::string text) {
        m_out.errors.push_back({m_path, line, std::move(text)});
    }

    void ReadSections() {
        for (int line : m_ini.UnreadLines()) Fault(line, "not a header, key = value or comment");
        // Keys of a "[ ]" section are the nameless section's too; that section is its own fault.
        const auto headers = m_ini.Sections();
        const int firstHeader = headers.empty() ? INT_MAX : headers.front().nLine;
        for (const CIniName& key : m_ini.Keys("")) {
            if (key.nLine > firstHeader) break;
            Fault(key.nLine, "key '" + key.name + "' outside any switcher's section");
        }
        std::vector<CIniName> seen;
        for (const CIniName& header : headers) {
            auto first = std::find_if(seen.begin(), seen.end(), [&](const CIniName& s) {
                return SameName(s.name, header.name);
            });
            if (first != seen.end()) {
                Fault(header.nLine, Section(header.name) + " is given twice (" +
                                        LineRef(first->nLine) + " and " + LineRef(header.nLine) +
                                        ")");
                continue;
            }
            seen.push_back(header);
            if (header.name.empty()) {
                Fault(header.nLine, "a switcher without a name");
            } else if (auto sw = ReadSwitcher(header)) {
                m_out.switchers.push_back(std::move(*sw));
            }
        }
        if (seen.empty() && m_out.errors.empty()) Fault(0, "no switchers in the inventory");
    }

    // The section's keys, checked whole; the switcher when every one is sound.
    std::optional<CFleetSwitcher> ReadSwitcher(const CIniName& header) {
        const size_t faults = m_out.errors.size();
        const std::string& name = header.name;
        CheckKeys(name);
        CFleetSwitcher sw{name, {}, -1, -1, {}, header.nLine};
        ReadPort(header, sw);
        ReadAddress(name, sw);
        ReadModel(name, sw);
        ReadFile(name, sw);
        if (m_out.errors.size() != faults) return std::nullopt;
        return sw;
    }

    void CheckKeys(const std::string& name) {
        std::vector<CIniName> known;
        for (const CIniName& key : m_ini.Keys(name)) {
            if (!IsKnownKey(key.name)) {
                Fault(key.nLine, "unknown key '" + key.name + "' in " + Section(name));
                continue;
            }
            auto first = std::find_if(known.begin(), known.end(), [&](const CIniName& k) {
                return SameName(k.name, key.name);
            });
            if (first != known.end()) {
                Fault(key.nLine, "key '" + key.name + "' given twice in " + Section(name) + " (" +
                                     LineRef(first->nLine) + " and " + LineRef(key.nLine) + ")");
            }
            known.push_back(key);
        }
    }

    void ReadPort(const CIniName& header, CFleetSwitcher& sw) {
        const auto port = m_ini.GetString(sw.strName, "port");
        if (!port) return Fault(header.nLine, "missing port in " + Section(sw.strName));
        const int line = m_ini.KeyLine(sw.strName, "port");
        std::string why;
        if (!ParsePortName(*port, &why)) {
            return Fault(line, "port of " + Section(sw.strName) + ": " + why);
        }
        // A device written the way a user would slip ("ttyUSB0", "COM1") is refused as the
        // program's own port field refuses it.
        if (KindOfPortName(*port) == PortNameKind::kInvalid) {
            return Fault(line, "port of " + Section(sw.strName) + ": '" + *port +
                                   "' is not an absolute device path");
        }
        sw.strPort = *port;
    }

    void ReadAddress(const std::string& name, CFleetSwitcher& sw) {
        const auto text = m_ini.GetString(name, "address");
        if (!text) return;
        const std::string& t = *text;
        const bool digits =
            t.size() == 2 && t[0] >= '0' && t[0] <= '9' && t[1] >= '0' && t[1] <= '9';
        const int value = digits ? (t[0] - '0') * 10 + (t[1] - '0') : -1;
        if (value < 0 || value > 31) {
            return Fault(m_ini.KeyLine(name, "address"),
                         "address '" + t + "' of " + Section(name) + " is not two digits 00..31");
        }
        sw.nAddress = value;
    }

    void ReadModel(const std::string& name, CFleetSwitcher& sw) {
        const auto text = m_ini.GetString(name, "model");
        if (!text) return;
        if (*text == "32" || *text == "64") {
            sw.nModel = *text == "32" ? 0 : 1;
        } else {
            Fault(m_ini.KeyLine(name, "model"),
                  "model '" + *text + "' of " + Section(name) + " is not 32 or 64");
        }
    }

    void ReadFile(const std::string& name, CFleetSwitcher& sw) {
        const auto text = m_ini.GetString(name, "file");
        if (!text) return;
        const int line = m_ini.KeyLine(name, "file");
        if (text->empty()) return Fault(line, "file of " + Section(name) + ": no path given");
        const std::string path = text->front() == '/' ? *text : m_folder + *text;
        const CReadOutcome read = ReadRegularFile(path, kMaxSettingsFileBytes);
        if (!read.text) return Fault(line, "file of " + Section(name) + ": " + read.strReason);
        sw.strFile = path;
    }

    // One line carries one RS-232C switcher, or RS-485 switchers at distinct addresses.
    void CheckLines() {
        std::map<std::string, std::vector<const CFleetSwitcher*>> byLine;
        for (const CFleetSwitcher& sw : m_out.switchers) {
            auto& onLine = byLine[FleetPortKey(sw.strPort)];
            for (const CFleetSwitcher* other : onLine) {
                if (other->nAddress == sw.nAddress) {
                    SameAddress(*other, sw);
                    break;
                }
                if ((other->nAddress < 0) != (sw.nAddress < 0)) {
                    MixedInterfaces(*other, sw);
                    break;
                }
            }
            onLine.push_back(&sw);
        }
    }

    void SameAddress(const CFleetSwitcher& first, const CFleetSwitcher& sw) {
        char address[8];
        std::snprintf(address, sizeof address, "%02d", sw.nAddress);
        const std::string where =
            sw.nAddress < 0 ? "as RS-232C switchers" : "at address " + std::string(address);
        Fault(sw.nLine, Section(first.strName) + " (" + LineRef(first.nLine) + ") and " +
                            Section(sw.strName) + " (" + LineRef(sw.nLine) + ") are both on " +
                            sw.strPort + " " + where);
    }

    void MixedInterfaces(const CFleetSwitcher& first, const CFleetSwitcher& sw) {
        const auto how = [](const CFleetSwitcher& s) {
            return Section(s.strName) + " (" + LineRef(s.nLine) + ") " +
                   (s.nAddress < 0 ? "without an address" : "with an address");
        };
        Fault(sw.nLine, how(first) + " and " + how(sw) + " on " + sw.strPort +
                            ": RS-232C and RS-485 on one line");
    }

    std::string m_path;
    std::string m_folder;
    CIniFile m_ini;
    CFleetInventory m_out;
};

}  // namespace

std::string CInventoryError::Message() const {
    return strFile + ":" + (nLine > 0 ? std::to_string(nLine) + ":" : "") + " " + strText;
}

CFleetInventory ReadFleetInventory(const std::string& path) {
    return CInventoryReader(path).Read();
}

std::string FleetPortKey(const std::string& port) {
    auto name = ParsePortName(port);
    if (!name) return port;
    if (name->kind != PortKind::kDevice) {
        name->host = Lower(name->host);
        return FormatPortName(*name);
    }
    char resolved[PATH_MAX];
    return ::realpath(name->path.c_str(), resolved) ? std::string(resolved) : name->path;
}

std::vector<CFleetPortGroup> GroupByPort(const std::vector<CFleetSwitcher>& switchers) {
    std::vector<CFleetPortGroup> groups;
    std::vector<std::string> keys;
    for (const CFleetSwitcher& sw : switchers) {
        const std::string key = FleetPortKey(sw.strPort);
        auto at = std::find(keys.begin(), keys.end(), key);
        if (at == keys.end()) {
            keys.push_back(key);
            groups.push_back({sw.strPort, {}});
            at = keys.end() - 1;
        }
        groups[static_cast<size_t>(at - keys.begin())].switchers.push_back(sw);
    }
    return groups;
}
