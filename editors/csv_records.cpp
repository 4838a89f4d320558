#include "editors/csv_records.h"

namespace {

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

// The separator the first row uses.
char DetectSeparator(std::string_view text) {
    bool bQuoted = false;
    bool bComma = false;
    bool bSemicolon = false;
    for (char ch : text) {
        if (ch == '"') bQuoted = !bQuoted;  // a doubled quote toggles twice
        if (bQuoted) continue;
        if (IsLineEnd(ch)) break;
        bComma = bComma || ch == ',';
        bSemicolon = bSemicolon || ch == ';';
    }
    return bSemicolon && !bComma ? ';' : ',';
}

class CCsvReader {
public:
    CCsvReader(std::string_view text, char separator) : m_text(text), m_sep(separator) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }

    CCsvRecord Record(int nRow) {
        CCsvRecord record;
        record.nRow = nRow;
        for (;;) {
            record.fields.push_back(Field(record.bUnclosedQuote));
            if (AtEnd()) return record;
            const char ch = m_text[m_pos++];
            if (ch == m_sep) continue;
            if (ch == '\r' && !AtEnd() && m_text[m_pos] == '\n') ++m_pos;
            return record;
        }
    }

private:
    // One field, up to the separator or line end that ends it (not taken).
    std::string Field(bool& bUnclosed) {
        std::string field;
        if (!AtEnd() && m_text[m_pos] == '"') {
            ++m_pos;
            bUnclosed = !Quoted(field);
        }
        while (!AtEnd() && m_text[m_pos] != m_sep && !IsLineEnd(m_text[m_pos])) {
            field += m_text[m_pos++];
        }
        return field;
    }

    // The inside of a quoted field, past its closing quote; false when the
    // text ends first.
    bool Quoted(std::string& field) {
        while (!AtEnd()) {
            const char ch = m_text[m_pos++];
            if (ch != '"') {
                field += ch;
            } else if (!AtEnd() && m_text[m_pos] == '"') {
                field += '"';
                ++m_pos;
            } else {
                return true;
            }
        }
        return false;
    }

    std::string_view m_text;
    char m_sep;
    size_t m_pos = 0;
};

}  // namespace

CCsvText ReadCsv(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    CCsvText csv;
    csv.separator = DetectSeparator(text);
    CCsvReader reader(text, csv.separator);
    for (int nRow = 1; !reader.AtEnd(); ++nRow) csv.records.push_back(reader.Record(nRow));
    return csv;
}

std::string CsvField(std::string_view field, char separator) {
    const bool bQuote =
        field.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string_view::npos ||
        field.starts_with(' ') || field.ends_with(' ');
    if (!bQuote) return std::string(field);
    std::string quoted = "\"";
    for (char ch : field) {
        quoted += ch;
        if (ch == '"') quoted += '"';
    }
    return quoted + "\"";
}
