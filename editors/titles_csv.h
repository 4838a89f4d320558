// The channel titles as a spreadsheet keeps them: UTF-8 comma-separated text
// with a header row "channel,title" and one row per input channel in use
// ("01".."32" or "01".."64"). Reading checks every row and says what it
// refuses; nothing here shows a box or touches the program's model.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings_tables.h"

inline constexpr char kTitlesCsvHeader[] = "channel,title";
// No titles file comes near this (64 rows of 16 characters); a larger file is
// refused before it is read.
inline constexpr size_t kMaxTitlesCsvBytes = 1024 * 1024;

// The titles of the tables' channels in use: a byte-order mark (without it
// Excel reads the file as Shift_JIS), the header, then each channel's row, each
// row ending in CR LF. A title reads as ShiftJisToUtf8 shows it.
std::string FormatTitlesCsv(const CSettingsTables& tables);

enum class TitleRowFault {
    kHeader,          // row 1 does not name the columns channel and title
    kNotUtf8,         // the row's bytes are not UTF-8 text
    kUnclosedQuote,   // a quoted field runs to the end of the file
    kColumns,         // more or fewer fields than the header
    kBadChannel,      // no channel number
    kUnknownChannel,  // a channel the tables' model does not have
    kDuplicate,       // the channel is on an earlier row too
    kBadTitle,        // FoldTitle refuses the title
};

struct CTitleRowRefusal {
    int nRow = 0;  // the header is row 1
    TitleRowFault fault = TitleRowFault::kHeader;
    std::string strReason;  // "channel 65 is not one of a 32-input switcher's 01..32"
};

struct CTitleRow {
    int nRow = 0;
    int nChannel = 0;   // 1-based
    std::string title;  // Shift_JIS bytes, as the model holds them
};

struct CTitlesCsv {
    bool bHeaderRead = false;                // false: nothing in the file can be taken
    std::vector<CTitleRow> rows;             // the good rows, in order
    std::vector<CTitleRowRefusal> refusals;  // the refused rows, in order

    bool AllGood() const { return bHeaderRead && refusals.empty(); }
};

// Reads a titles file against the tables it is for: their model says which
// channels exist. Takes UTF-8 with or without a byte-order mark, a comma or
// a semicolon, the two columns in either order (the header names them, in
// any case). A row whose fields are all empty is passed over. Each title goes
// through FoldTitle, except one that reads exactly as the channel's title
// does now: that row keeps the stored bytes, so that a file written by
// FormatTitlesCsv reads back to the same tables whatever the titles hold. An
// empty title clears the channel's.
CTitlesCsv ReadTitlesCsv(std::string_view text, const CSettingsTables& tables);

// Gives each row's channel its title; returns how many titles changed.
int ApplyTitleRows(const std::vector<CTitleRow>& rows, CSettingsTables& tables);

// "row 7: channel 65 is not one of a 32-input switcher's 01..32".
std::string TitleRefusalLine(const CTitleRowRefusal& refusal);
