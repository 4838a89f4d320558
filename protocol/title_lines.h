// CA: one input channel's title as 16 JIS X 0208 codes in hexadecimal. The
// switcher answers RCAnn with the same layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/title_codes.h"

struct CTitleLine {
    int nChannel = 0;  // index 0..63 (channel number - 1)
    std::string text;  // Shift_JIS, the filling dropped

    bool operator==(const CTitleLine&) const = default;
};

// "CA", the channel number (index + 1) as two digits, the 16 codes as four
// upper-case hexadecimal digits each, CR LF: 70 bytes.
std::string FormatTitleLine(int nChannel, const JisCodes& codes);
// The same for a stored title (see TitleCodes).
std::string FormatTitleTextLine(int nChannel, std::string_view title);

// Body: the line without its RS-485 address and its line end. Both want a
// channel 01..nInputs and upper-case hexadecimal digits. The command must have
// exactly the layout and hold JIS X 0208 characters only; the data line may
// run on past it, and its text ends at a code without a Shift_JIS form.
std::optional<CTitleLine> ParseTitleCommand(std::string_view body, int nInputs);
std::optional<CTitleLine> ParseTitleData(std::string_view body, int nInputs);
