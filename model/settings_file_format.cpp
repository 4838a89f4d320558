#include "model/settings_file_format.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// Visits every number of the file in file order with its valid range.
template <class Tables, class Visit>
void ForEachNumberField(Tables& t, Visit&& visit) {
    auto table = [&](auto& values, int lo, int hi) {
        for (auto& v : values) visit(v, lo, hi);
    };
    table(t.m_nInTitleDisp, 0, 1);
    table(t.m_nOutTitleDisp, 0, 1);
    table(t.m_nTitlePosition, 0, 1);
    table(t.m_nInCalendarDisp, 0, 1);
    table(t.m_nOutCalendarDisp, 0, 1);
    for (auto& pattern : t.m_nSeqTime) table(pattern, 0, kMaxSeqTime);
    for (auto& row : MemoryRows(t)) table(row, 0, 127);
    table(t.m_nOutCalendarDisp, 0, 1);  // the second copy is the one that counts
    visit(t.m_nDateFormat, 0, 2);
    visit(t.m_nModel, 0, 1);
}

void AppendLine(std::string& out, std::string_view text) {
    out.append(text);
    out.append("\r\n");
}

void AppendNumber(std::string& out, int value) {
    char digits[16];
    auto res = std::to_chars(digits, digits + sizeof digits, value);
    AppendLine(out, std::string_view(digits, static_cast<size_t>(res.ptr - digits)));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Walks the text token by token for numbers and line by line for titles,
// counting lines for the error message. A line ends in LF, CR LF or a lone CR
// (files from other systems); CRs in front of an LF belong to that one line end.
class CSettingsReader {
public:
    explicit CSettingsReader(std::string_view text) : m_text(text) {}

    std::optional<std::string_view> NextToken() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            if (!SkipLineEnd()) ++m_pos;
        }
        if (m_pos == m_text.size()) return std::nullopt;
        size_t start = m_pos;
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos])) ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    void SkipRestOfLine() {
        m_pos = std::min(m_text.find_first_of("\r\n", m_pos), m_text.size());
        SkipLineEnd();
    }

    // The next line without its line end.
    std::optional<std::string_view> NextLine() {
        if (m_pos == m_text.size()) return std::nullopt;
        size_t end = std::min(m_text.find_first_of("\r\n", m_pos), m_text.size());
        std::string_view line = m_text.substr(m_pos, end - m_pos);
        m_lineOfLastRead = m_line;
        m_pos = end;
        SkipLineEnd();
        return line;
    }

    int Line() const { return m_line; }
    int LineOfLastRead() const { return m_lineOfLastRead; }

private:
    // Steps over the line end at the current position, if there is one.
    bool SkipLineEnd() {
        if (m_pos == m_text.size()) return false;
        if (m_text[m_pos] == '\r') {
            size_t after = m_text.find_first_not_of('\r', m_pos);
            m_pos =
                (after != std::string_view::npos && m_text[after] == '\n') ? after + 1 : m_pos + 1;
        } else if (m_text[m_pos] == '\n') {
            ++m_pos;
        } else {
            return false;
        }
        ++m_line;
        return true;
    }

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
    int m_lineOfLastRead = 0;
};

std::optional<int> ParseDecimal(std::string_view token) {
    if (token.size() > 1 && token[0] == '+') token.remove_prefix(1);
    int value = 0;
    auto res = std::from_chars(token.data(), token.data() + token.size(), value);
    if (res.ec != std::errc() || res.ptr != token.data() + token.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string FormatSettingsFile(const CSettingsTables& tables) {
    std::string out;
    out.reserve(24 * 1024);
    ForEachNumberField(tables, [&](const int& v, int, int) { AppendNumber(out, v); });
    for (const auto& title : tables.m_strTitle) AppendLine(out, title.empty() ? "s" : title);
    return out;
}

int ParseSettingsFile(std::string_view text, CSettingsTables& tables, int* pLinesRead) {
    CSettingsReader reader(text);
    bool ended = false;
    int badLine = 0;
    int linesRead = 0;
    ForEachNumberField(tables, [&](int& v, int lo, int hi) {
        if (ended || badLine) return;
        auto token = reader.NextToken();
        if (!token) {
            ended = true;  // a short file: the rest keep their values
            return;
        }
        auto value = ParseDecimal(*token);
        if (!value || *value < lo || *value > hi) {
            badLine = reader.Line();
            return;
        }
        v = *value;
        ++linesRead;
    });
    if (badLine) return badLine;

    // Titles are whole lines, so a title holding a blank survives.
    if (!ended) reader.SkipRestOfLine();
    for (auto& title : tables.m_strTitle) {
        auto line = ended ? std::nullopt : reader.NextLine();
        if (!line) {
            title.clear();
            continue;
        }
        if (line->size() > static_cast<size_t>(kMaxTitleBytes)) return reader.LineOfLastRead();
        title = (*line == "s") ? std::string() : std::string(*line);
        ++linesRead;
    }
    if (pLinesRead) *pLinesRead = linesRead;
    return 0;
}
