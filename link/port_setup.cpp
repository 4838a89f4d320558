#include "link/port_setup.h"

#include "sink/message_sink.h"

std::string SetupFailureText(const CSetupFailure& failure) {
    switch (failure.step) {
        case SetupStep::kOpen:
            return "Miss! File Open\n" + LinkFailureText(failure.why);
        case SetupStep::kMask:
            return "Miss! Mask Set";
        case SetupStep::kBuffer:
            return "Miss! Buffer Set";
        case SetupStep::kTimeOut:
            return "Miss! Time Out Set";
        case SetupStep::kCommState:
            return "Miss! Set Comm State";
        case SetupStep::kReadThread:
            break;
    }
    return "error creating read thread";
}

void ShowSetupBox(const CSetupFailure& failure) {
    ShowSetupError(SetupFailureText(failure));
}

void IgnoreSetupFailure(const CSetupFailure&) {}
