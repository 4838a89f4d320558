// Which model a switcher is, told by what it answers: the reply to RCPI (the
// title positions) carries one flag per input channel, so its length says 32
// or 64 inputs. Asking it changes nothing on the switcher.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The read command that tells the model: "RCPI" CR LF.
std::string ModelProbeCommand();

// Body: the reply without its RS-485 address and its line end. 0 (Qelvar-32)
// for "CPI" and 32 flags, 1 (Qelvar-64) for "CPI" and 64; nothing for any
// other length or a flag that is not 'T' or 'B'.
std::optional<int> ModelOfTitlePositionData(std::string_view body);

// "Qelvar-32" for model 0, "Qelvar-64" for 1.
const char* ModelName(int nModel);

// "the switcher on COM1 /dev/ttyUSB0 address 05 is a Qelvar-64, but the file
// says Qelvar-32": who is one model, and what source says is the other.
std::string ModelMismatchText(const std::string& who, int nIs, const std::string& source,
                              int nSays);
