// The channel title editor's send operations: the checks a title must pass
// and its CA line.
#pragma once

#include <string>

#include "editors/send_step.h"

inline constexpr char kNotJisLevel12Warning[] = "ＪＩＳ第１水準,第２水準以外の字が選択されてます";
inline constexpr char kOutOfSpecWarning[] = "仕様以外の字が選択されてます";

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

// The calling order every sender uses: PrepareTitle, then SendTitle, with the
// warning that belongs to the failure.
CStepResult TitleStep(int nChannel);
