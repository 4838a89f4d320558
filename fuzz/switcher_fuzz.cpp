// The virtual switcher: any sequence of lines, on either model and interface
// (the first byte picks them and the own address). Every reply is GO, an error
// reply or a data line the program's own decoder takes without a change to a
// model that holds what the switcher holds; only GO may change the state.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "link/readback_decoders.h"
#include "model/settings_model.h"
#include "sim/virtual_switcher.h"

namespace {

bool IsErrorReply(std::string_view work) {
    for (std::string_view reply : {"GN\r\n", "MENU\r\n", "E0\r\n", "E1\r\n", "E2\r\n", "E3\r\n"}) {
        if (work == reply) return true;
    }
    return false;
}

// The program's settings model set to what the switcher holds.
void LoadModelFrom(const CSwitcherState& state) {
    g_settings = state.m_tables;
}

bool ModelHolds(const CSwitcherState& state) {
    return g_settings == state.m_tables;
}

// Whether the reply is GO, after checking it.
bool CheckReply(const CVirtualSwitcher& sw, std::string_view line, std::string_view work) {
    if (sw.IsRs485()) {
        FUZZ_CHECK(work.substr(0, 2) == line.substr(0, 2));
        work.remove_prefix(2);
    }
    if (work == "GO\r\n") return true;
    if (IsErrorReply(work)) return false;
    const auto kind = DataLineOf(work);
    FUZZ_CHECK(kind.has_value() && work.ends_with("\r\n"));
    LoadModelFrom(sw.State());
    FUZZ_CHECK(DecodeDataLine(*kind, work));
    FUZZ_CHECK(ModelHolds(sw.State()));
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t config = data[0];
    CVirtualSwitcher sw({.nModel = config & 1,
                         .bRs485 = (config & 2) != 0,
                         .nAddress = (config >> 3) % 32,
                         .bAnyAddress = (config & 4) != 0});
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size() - 1);
        const std::string_view line = rest.substr(0, end + 1);
        rest.remove_prefix(end + 1);

        const CSwitcherState before = sw.State();
        const auto reply = sw.Answer(line);
        const bool bGo = reply && CheckReply(sw, line, *reply);
        if (!bGo) FUZZ_CHECK(sw.State() == before);
    }
    return 0;
}
