// The CA command: one input channel's title as 16 JIS X 0208 codes in
// hexadecimal, and the checks a title must pass before it is sent.
#pragma once

#include <array>
#include <string>

#include "editors/send_step.h"

inline constexpr char kNotJisLevel12Warning[] = "ＪＩＳ第１水準,第２水準以外の字が選択されてます";
inline constexpr char kOutOfSpecWarning[] = "仕様以外の字が選択されてます";

inline constexpr int kTitleChars = 16;
inline constexpr unsigned kFullWidthSpaceJis = 0x2121;

using JisCodes = std::array<unsigned, kTitleChars>;

// The title being sent: PrepareTitle writes it, SendTitle reads it.
extern std::string g_strTitleWork;

// Copies g_strTitle[nChannel] into g_strTitleWork, a single half-width blank
// taken as one full-width space, and fills it with full-width spaces to 32
// bytes. False (the work copy left unfilled) when its length is odd or above 32;
// false with an empty work copy for a channel index outside 0..63.
bool PrepareTitle(int nChannel);

// Converts g_strTitleWork to 16 JIS codes, checks them and sends the CA line of
// channel nChannel + 1. Returns 0 when sent, 1 when a byte pair is not a
// Shift_JIS double-byte character (lead bytes 0xF0..0xFC included), 2 when a
// code lies outside JIS X 0208. A work copy that is not 32 bytes long (not
// prepared, or refused by PrepareTitle) and a channel index outside 0..63 give 1.
int SendTitle(int nChannel);

// 0 when code is one of the 6879 characters of JIS X 0208 (86 ranges), else 2.
int CheckJisCode(unsigned code);
// 2 at the first code that CheckJisCode refuses, else 0.
int CheckJisCodes(const JisCodes& codes);

// "CA", the channel number (index + 1) as two digits, the 16 codes as four
// upper-case hexadecimal digits each, CR LF: 70 bytes.
std::string FormatTitleLine(int nChannel, const JisCodes& codes);

// The calling order every sender uses: PrepareTitle, then SendTitle, with the
// warning that belongs to the failure.
CStepResult TitleStep(int nChannel);
