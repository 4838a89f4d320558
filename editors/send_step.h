// What sending one item did: its line went out, or the item was refused with
// a warning (and nothing was sent). Editors' Set buttons show the warning; the
// send cycles show it through the message sink and go on with the next step.
#pragma once

struct CStepResult {
    const char* pszWarning = nullptr;  // nullptr = the line was sent

    bool Sent() const { return pszWarning == nullptr; }
    static CStepResult Refused(const char* warning) { return {warning}; }
};
