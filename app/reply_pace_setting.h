// Whether the program's cycles send each line once the switcher has answered
// the one before (通信 > 応答を待って送信), kept in the profile as "ack_pace"
// under "Link"; off unless the profile says 1.
#pragma once

#include <optional>

#include "link/comm_settings.h"

bool ReadReplyPaceSetting();
// Nothing when it was kept; else why not.
[[nodiscard]] std::optional<CProfileFault> WriteReplyPaceSetting(bool paced);
