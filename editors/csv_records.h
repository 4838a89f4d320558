// Comma-separated text as spreadsheets write it: fields in double quotes when
// they hold the separator, a quote (doubled) or a line end; rows ending in
// CR LF, LF or CR; a comma or, where the decimal mark is a comma, a semicolon
// between the fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CCsvRecord {
    int nRow = 0;  // as a spreadsheet numbers it: the first row is 1
    std::vector<std::string> fields;
    bool bUnclosedQuote = false;  // a quoted field ran to the end of the text
};

struct CCsvText {
    char separator = ',';
    std::vector<CCsvRecord> records;  // blank rows included; a final line end makes none
};

// The UTF-8 byte-order mark, which some spreadsheets put in front and need to
// read a file as UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Reads the records of text, without a leading byte-order mark. The separator
// is the semicolon when the first row holds one outside quotes and no comma,
// else the comma. Lenient where spreadsheets are: a quote inside an unquoted
// field is a character, and what follows a closing quote joins the field.
CCsvText ReadCsv(std::string_view text);

// The field as written between separators: in double quotes, with its quotes
// doubled, when it holds the separator, a quote or a line end, or starts or
// ends with a space (which some readers would trim).
std::string CsvField(std::string_view field, char separator = ',');
