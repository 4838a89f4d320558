// What bringing the port up came to: each step that failed, in the order the
// steps were tried, with the reason where the step has one. The program shows
// one set-up box per failure; qelvarctl says the first in its message.
#pragma once

#include <string>
#include <vector>

#include "link/link_failure.h"

// Opening the device, the set-up steps after it, and the I/O thread.
enum class SetupStep { kOpen, kMask, kBuffer, kTimeOut, kCommState, kReadThread };

struct CSetupFailure {
    SetupStep step = SetupStep::kOpen;
    CLinkFailure why;  // for kOpen: why the device would not open
    bool operator==(const CSetupFailure&) const = default;
};

struct CSetupResult {
    std::vector<CSetupFailure> failures;
    bool Ok() const { return failures.empty(); }
    bool operator==(const CSetupResult&) const = default;
};

// Hears each failure at the moment it happens, before the next step is tried.
using SetupReport = void (*)(const CSetupFailure& failure);

// The box's text: "Miss! File Open" and the reason on its second line, "Miss!
// Mask Set", "Miss! Buffer Set", "Miss! Time Out Set", "Miss! Set Comm State",
// "error creating read thread".
std::string SetupFailureText(const CSetupFailure& failure);

// Shows the failure's set-up box through the message sink.
void ShowSetupBox(const CSetupFailure& failure);
// Keeps quiet: for a caller that reads the failures from the returned value.
void IgnoreSetupFailure(const CSetupFailure& failure);
