#include "editors/titles_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "editors/csv_records.h"
#include "editors/title_fold.h"
#include "model/cp932_text.h"
#include "protocol/fields.h"

namespace {

constexpr size_t kShownChars = 24;  // of a title or header quoted in a reason

// Through UTF-32, which unlike a UTF-8 to UTF-8 conversion also refuses code
// points beyond U+10FFFF.
bool IsUtf8(std::string_view text) {
    return CCodeConverter("UTF-32LE", "UTF-8").Convert(text).has_value();
}

bool IsUtf8(const CCsvRecord& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return IsUtf8(field); });
}

// The text between double quotes, cut after kShownChars characters; text is UTF-8.
std::string Quoted(std::string_view text) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool bLead = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (bLead && chars++ == kShownChars) return "\"" + std::string(text.substr(0, i)) + "…\"";
    }
    return "\"" + std::string(text) + "\"";
}

std::string Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return "";
    return std::string(text.substr(begin, text.find_last_not_of(" \t") - begin + 1));
}

std::string Lower(std::string text) {
    for (char& ch : text) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return text;
}

// Where the header puts the two columns.
struct CColumns {
    size_t channel = 0;
    size_t title = 1;
};

std::optional<CColumns> HeaderColumns(const CCsvRecord& header) {
    if (header.fields.size() != 2) return std::nullopt;
    const std::string first = Lower(Trimmed(header.fields[0]));
    const std::string second = Lower(Trimmed(header.fields[1]));
    if (first == "channel" && second == "title") return CColumns{0, 1};
    if (first == "title" && second == "channel") return CColumns{1, 0};
    return std::nullopt;
}

std::string Joined(const CCsvRecord& record, char separator) {
    std::string text;
    for (const auto& field : record.fields) {
        if (!text.empty()) text += separator;
        text += field;
    }
    return text;
}

bool IsBlank(const CCsvRecord& record) {
    return !record.bUnclosedQuote &&
           std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return field.empty(); });
}

// "05", or the number as it stands when it has more digits.
std::string ChannelText(long long channel) {
    return channel < 100 ? TwoDigits(static_cast<int>(channel)) : std::to_string(channel);
}

// Reads the data rows after the header, in order.
class CRowReader {
public:
    CRowReader(const CSettingsTables& tables, CColumns columns, CTitlesCsv& result)
        : m_tables(tables), m_columns(columns), m_result(result) {}

    void Read(const CCsvRecord& record) {
        const std::string reason = Reason(record);
        if (!reason.empty()) m_result.refusals.push_back({record.nRow, m_fault, reason});
    }

private:
    std::string Refuse(TitleRowFault fault, std::string reason) {
        m_fault = fault;
        return reason;
    }

    // Why the row is refused; empty when it was taken.
    std::string Reason(const CCsvRecord& record) {
        if (record.bUnclosedQuote) {
            return Refuse(TitleRowFault::kUnclosedQuote,
                          "a quoted field does not end before the end of the file");
        }
        if (!IsUtf8(record)) {
            return Refuse(TitleRowFault::kNotUtf8, "not UTF-8 text (save the sheet as CSV UTF-8)");
        }
        if (record.fields.size() != 2) {
            return Refuse(TitleRowFault::kColumns,
                          std::to_string(record.fields.size()) + " fields, not 2 as the header");
        }
        const std::string& cell = record.fields[m_columns.channel];
        const std::string digits = Trimmed(cell);
        long long channel = 0;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), channel);
        const bool bDigits = !digits.empty() && digits[0] != '-' &&
                             (ec == std::errc() || ec == std::errc::result_out_of_range) &&
                             end == digits.data() + digits.size();
        if (!bDigits) {
            return Refuse(TitleRowFault::kBadChannel,
                          digits.empty() ? "no channel number"
                                         : "channel " + Quoted(cell) + " is not a number");
        }
        if (ec == std::errc::result_out_of_range) channel = -1;  // beyond any model
        const std::string shown = channel < 0 ? digits : ChannelText(channel);
        return Take(record.nRow, channel, shown, record.fields[m_columns.title]);
    }

    std::string Take(int nRow, long long channel, const std::string& shown,
                     const std::string& text) {
        const int nChannels = InputChannels(m_tables);
        if (channel < 1 || channel > nChannels) {
            const std::string count = std::to_string(nChannels);
            return Refuse(TitleRowFault::kUnknownChannel, "channel " + shown + " is not one of a " +
                                                              count + "-input switcher's 01.." +
                                                              count);
        }
        const int index = static_cast<int>(channel) - 1;
        if (m_rowOf[index] != 0) {
            return Refuse(TitleRowFault::kDuplicate, "channel " + shown + " is on row " +
                                                         std::to_string(m_rowOf[index]) + " too");
        }
        m_rowOf[index] = nRow;
        const std::string& stored = m_tables.m_strTitle[index];
        if (text == ShiftJisToUtf8(stored)) {  // as exported: kept byte for byte
            m_result.rows.push_back({nRow, index + 1, stored});
            return "";
        }
        CTitleFold folded = FoldTitle(text);
        if (!folded.Accepted()) {
            // The editor's one warning covers a title too long; a spreadsheet
            // user is better told the count.
            const std::string why =
                folded.nChars > kTitleChars
                    ? std::to_string(folded.nChars) + " characters, more than a title's 16"
                    : std::string(folded.Warning());
            return Refuse(TitleRowFault::kBadTitle,
                          "title " + Quoted(text) + " of channel " + shown + ": " + why);
        }
        m_result.rows.push_back({nRow, index + 1, std::move(folded.title)});
        return "";
    }

    const CSettingsTables& m_tables;
    CColumns m_columns;
    CTitlesCsv& m_result;
    TitleRowFault m_fault = TitleRowFault::kHeader;
    std::array<int, kMaxInputs> m_rowOf{};  // the row that named each channel first
};

}  // namespace

std::string FormatTitlesCsv(const CSettingsTables& tables) {
    std::string text = std::string(kUtf8Bom) + kTitlesCsvHeader + "\r\n";
    for (int index = 0; index < InputChannels(tables); ++index) {
        text += TwoDigits(index + 1) + "," + CsvField(ShiftJisToUtf8(tables.m_strTitle[index])) +
                "\r\n";
    }
    return text;
}

CTitlesCsv ReadTitlesCsv(std::string_view text, const CSettingsTables& tables) {
    CTitlesCsv result;
    const CCsvText csv = ReadCsv(text);
    if (csv.records.empty()) {
        result.refusals.push_back({1, TitleRowFault::kHeader, "no header row"});
        return result;
    }
    const CCsvRecord& header = csv.records.front();
    if (!IsUtf8(header)) {
        result.refusals.push_back(
            {1, TitleRowFault::kNotUtf8, "not UTF-8 text (save the sheet as CSV UTF-8)"});
        return result;
    }
    const auto columns = HeaderColumns(header);
    if (!columns) {
        result.refusals.push_back({1, TitleRowFault::kHeader,
                                   "the header must name the columns channel and title, not " +
                                       Quoted(Joined(header, csv.separator))});
        return result;
    }
    result.bHeaderRead = true;
    CRowReader reader(tables, *columns, result);
    for (auto record = csv.records.begin() + 1; record != csv.records.end(); ++record) {
        if (!IsBlank(*record)) reader.Read(*record);
    }
    return result;
}

int ApplyTitleRows(const std::vector<CTitleRow>& rows, CSettingsTables& tables) {
    int changed = 0;
    for (const auto& row : rows) {
        std::string& title = tables.m_strTitle[row.nChannel - 1];
        if (title == row.title) continue;
        title = row.title;
        ++changed;
    }
    return changed;
}

std::string TitleRefusalLine(const CTitleRowRefusal& refusal) {
    return "row " + std::to_string(refusal.nRow) + ": " + refusal.strReason;
}
