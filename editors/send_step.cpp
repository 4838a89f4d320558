#include "editors/send_step.h"

#include "editors/auto_sequence_send.h"
#include "editors/title_send.h"

const char* RefusalWarning(SendRefusal refusal) {
    switch (refusal) {
        case SendRefusal::kAllSkip:
            return kAllSkipWarning;
        case SendRefusal::kNotJisLevel12:
            return kNotJisLevel12Warning;
        case SendRefusal::kOutOfSpec:
            return kOutOfSpecWarning;
        default:
            return nullptr;
    }
}
