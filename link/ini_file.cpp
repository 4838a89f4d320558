#include "link/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "model/file_io.h"

namespace {

const char kBlanks[] = " \t\r";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Profile names compare as the Windows profile calls compared them.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool IsCommentMark(char c) {
    return c == ';' || c == '#';
}

bool StartsComment(const std::string& raw, size_t i) {
    return IsCommentMark(raw[i]) && i > 0 && IsBlank(raw[i - 1]);
}

// Where a quoted value starting at `open` ends (after its closing quote), or
// npos when it is not one: no closing quote, or more than a comment after it.
size_t QuotedEnd(const std::string& raw, size_t open) {
    size_t close = open + 1;
    while (close < raw.size() && raw[close] != '"') close += raw[close] == '\\' ? 2 : 1;
    if (close >= raw.size()) return std::string::npos;
    size_t next = raw.find_first_not_of(kBlanks, close + 1);
    if (next != std::string::npos && !StartsComment(raw, next)) return std::string::npos;
    return close + 1;
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

// A value that would read back differently as it stands goes in quotes. It may
// land after blanks ("key = value"), where a leading ';' or '#' starts a comment.
std::string Quoted(const std::string& value) {
    bool plain = value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back()) &&
                                   value.front() != '"' && !IsCommentMark(value.front()));
    for (size_t i = 1; plain && i < value.size(); ++i) plain = !StartsComment(value, i);
    if (plain) return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

CIniResult Failed(int err) {
    return {false, std::strerror(err)};
}

CIniResult NotARegularFile(const struct stat& st) {
    return {false, S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file"};
}

// The profile's text; nothing, with no failure, when there is no file. Opened
// without waiting, so that a FIFO in its place is refused instead of hanging.
CIniResult ReadProfileText(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno == ENOENT ? CIniResult{} : Failed(errno);
    CIniResult result;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result = Failed(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result = NotARegularFile(st);
    } else {
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) result = Failed(errno);
            if (n <= 0) break;
            text.append(chunk, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    if (!result) text.clear();
    return result;
}

void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

// "[name]", perhaps with blanks and a comment around it; the name, or nothing.
std::optional<std::string> SectionHeader(const std::string& t) {
    size_t close = t.find(']');
    if (t.empty() || t[0] != '[' || close == std::string::npos) return std::nullopt;
    std::string rest = Trim(t.substr(close + 1));
    if (!rest.empty() && rest[0] != ';' && rest[0] != '#') return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

}  // namespace

CIniFile::Line CIniFile::ParseLine(const std::string& section, std::string raw) {
    Line line{section, {}, std::move(raw)};
    const std::string& r = line.raw;
    std::string t = Trim(r);
    size_t eq = r.find('=');
    if (t.empty() || t[0] == ';' || t[0] == '#' || eq == std::string::npos) return line;
    line.key = Trim(r.substr(0, eq));
    size_t begin = r.find_first_not_of(kBlanks, eq + 1);
    size_t end = std::string::npos;
    if (begin != std::string::npos && r[begin] == '"') end = QuotedEnd(r, begin);
    if (end == std::string::npos) {
        end = eq + 1;
        while (end < r.size() && !StartsComment(r, end)) ++end;
        while (end > eq + 1 && IsBlank(r[end - 1])) --end;
    }
    line.valueBegin = (begin != std::string::npos && begin < end) ? begin : eq + 1;
    line.valueEnd = std::max(end, line.valueBegin);
    return line;
}

CIniResult CIniFile::Load(const std::string& path) {
    m_lines.clear();
    std::string text;
    const CIniResult read = ReadProfileText(path, text);
    std::string section;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        pos = end + 1;
        if (auto name = SectionHeader(Trim(raw))) {
            section = *name;
            m_lines.push_back({section, {}, std::move(raw), 0, 0, true});
        } else {
            m_lines.push_back(ParseLine(section, std::move(raw)));
        }
    }
    return read;
}

CIniResult CIniFile::Save(const std::string& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return NotARegularFile(st);
    MakeFolders(path);
    errno = 0;
    if (WriteFileAtomically(path, Text()) == WriteResult::kOk) return {};
    // The errno of the call that failed; EEXIST is only that of the probe before it.
    if (errno == 0 || errno == EEXIST) return {false, "cannot be written"};
    return Failed(errno);
}

std::string CIniFile::Text() const {
    std::string out;
    for (const auto& line : m_lines) out += line.raw + "\n";
    return out;
}

const CIniFile::Line* CIniFile::Find(const std::string& section, const std::string& key) const {
    for (const auto& line : m_lines) {
        if (!line.key.empty() && SameName(line.section, section) && SameName(line.key, key)) {
            return &line;
        }
    }
    return nullptr;
}

std::optional<std::string> CIniFile::GetString(const std::string& section,
                                               const std::string& key) const {
    const Line* line = Find(section, key);
    if (!line) return std::nullopt;
    return Unquote(line->raw.substr(line->valueBegin, line->valueEnd - line->valueBegin));
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
    const std::string text = Quoted(value);
    if (const Line* found = Find(section, key)) {
        Line& line = m_lines[static_cast<size_t>(found - m_lines.data())];
        line.raw.replace(line.valueBegin, line.valueEnd - line.valueBegin, text);
        line.valueEnd = line.valueBegin + text.size();
        return;
    }
    const std::string raw = key + "=" + text;
    size_t lastOfSection = std::string::npos;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (SameName(m_lines[i].section, section) && !Trim(m_lines[i].raw).empty()) {
            lastOfSection = i;
        }
    }
    if (lastOfSection != std::string::npos) {
        Line line = ParseLine(m_lines[lastOfSection].section, raw);
        m_lines.insert(m_lines.begin() + static_cast<long>(lastOfSection) + 1, std::move(line));
        return;
    }
    if (!m_lines.empty() && !Trim(m_lines.back().raw).empty()) m_lines.push_back({section, {}, ""});
    m_lines.push_back({section, {}, "[" + section + "]", 0, 0, true});
    m_lines.push_back(ParseLine(section, raw));
}

void CIniFile::SetInt(const std::string& section, const std::string& key, int value) {
    SetString(section, key, std::to_string(value));
}

std::vector<CIniName> CIniFile::Sections() const {
    std::vector<CIniName> out;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].header) out.push_back({m_lines[i].section, static_cast<int>(i + 1)});
    }
    return out;
}

std::vector<CIniName> CIniFile::Keys(const std::string& section) const {
    std::vector<CIniName> out;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (!line.key.empty() && SameName(line.section, section)) {
            out.push_back({line.key, static_cast<int>(i + 1)});
        }
    }
    return out;
}

int CIniFile::KeyLine(const std::string& section, const std::string& key) const {
    const Line* line = Find(section, key);
    return line ? static_cast<int>(line - m_lines.data()) + 1 : 0;
}

std::vector<int> CIniFile::UnreadLines() const {
    std::vector<int> out;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        const std::string t = Trim(line.raw);
        if (line.header || !line.key.empty() || t.empty() || IsCommentMark(t[0])) continue;
        out.push_back(static_cast<int>(i + 1));
    }
    return out;
}
