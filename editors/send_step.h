// What a send operation did: its line went out, or it refused the item and
// sent nothing, and why. Editors' Set buttons show the refusal's warning; the
// send cycles show it through the message sink and go on with the next step.
#pragma once

enum class SendRefusal {
    kNone,           // the line went out
    kNoSuchItem,     // a pattern, memory, channel, address or list index outside its range
    kAllSkip,        // every channel in use of the pattern is SKIP
    kNotJisLevel12,  // a title that is not all Shift_JIS double-byte characters
    kOutOfSpec,      // a title character outside the table of valid codes
    kRefused,        // a step list's own reason, given only in its warning
};

// The warning a refusal shows: "全部をスキップに設定することは､できません！",
// "ＪＩＳ第１水準,第２水準以外の字が選択されてます", "仕様以外の字が選択されてます";
// nullptr where nothing is shown (sent, no such item).
const char* RefusalWarning(SendRefusal refusal);

struct CStepResult {
    SendRefusal refusal = SendRefusal::kNone;
    const char* pszWarning = nullptr;  // the warning shown, nullptr for none

    bool Sent() const { return refusal == SendRefusal::kNone; }
    explicit operator bool() const { return Sent(); }
    static CStepResult Refused(SendRefusal why) { return {why, RefusalWarning(why)}; }
    // A refusal a step list gives in its own words.
    static CStepResult Refused(const char* warning) { return {SendRefusal::kRefused, warning}; }
};
