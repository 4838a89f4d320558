#include "link/ini_file.h"

#include <sys/stat.h>

#include <charconv>

#include "model/file_io.h"

namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r";
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

// QSettings quotes values holding special characters; take them back out.
std::string Unquote(const std::string& v) {
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return v;
    std::string out;
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] == '\\' && i + 2 < v.size()) ++i;
        out += v[i];
    }
    return out;
}

void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

}  // namespace

void CIniFile::Load(const std::string& path) {
    m_lines.clear();
    auto text = ReadWholeFile(path);
    if (!text) return;
    std::string section;
    size_t pos = 0;
    while (pos < text->size()) {
        size_t end = text->find('\n', pos);
        if (end == std::string::npos) end = text->size();
        std::string raw = text->substr(pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        pos = end + 1;
        std::string t = Trim(raw);
        Line line{section, {}, raw};
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            section = t.substr(1, t.size() - 2);
            line.section = section;
        } else if (!t.empty() && t[0] != ';' && t[0] != '#' && t.find('=') != std::string::npos) {
            line.key = Trim(t.substr(0, t.find('=')));
        }
        m_lines.push_back(std::move(line));
    }
}

bool CIniFile::Save(const std::string& path) const {
    MakeFolders(path);
    return WriteFileAtomically(path, Text()) == WriteResult::kOk;
}

std::string CIniFile::Text() const {
    std::string out;
    for (const auto& line : m_lines) out += line.raw + "\n";
    return out;
}

std::optional<std::string> CIniFile::GetString(const std::string& section,
                                               const std::string& key) const {
    for (const auto& line : m_lines) {
        if (line.section == section && line.key == key) {
            return Unquote(Trim(line.raw.substr(line.raw.find('=') + 1)));
        }
    }
    return std::nullopt;
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int fallback) const {
    auto text = GetString(section, key);
    if (!text) return fallback;
    int value = 0;
    auto res = std::from_chars(text->data(), text->data() + text->size(), value);
    if (res.ec != std::errc() || res.ptr != text->data() + text->size()) return fallback;
    return value;
}

void CIniFile::SetString(const std::string& section, const std::string& key,
                         const std::string& value) {
    std::string raw = key + "=" + value;
    size_t lastOfSection = std::string::npos;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].section != section) continue;
        if (m_lines[i].key == key) {
            m_lines[i].raw = raw;
            return;
        }
        if (!Trim(m_lines[i].raw).empty()) lastOfSection = i;
    }
    Line line{section, key, raw};
    if (lastOfSection != std::string::npos) {
        m_lines.insert(m_lines.begin() + static_cast<long>(lastOfSection) + 1, line);
        return;
    }
    if (!m_lines.empty() && !Trim(m_lines.back().raw).empty()) m_lines.push_back({section, {}, ""});
    m_lines.push_back({section, {}, "[" + section + "]"});
    m_lines.push_back(line);
}

void CIniFile::SetInt(const std::string& section, const std::string& key, int value) {
    SetString(section, key, std::to_string(value));
}
