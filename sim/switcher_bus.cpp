#include "sim/switcher_bus.h"

#include <charconv>

#include "protocol/fields.h"
#include "protocol/table_shapes.h"

namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.size() > 2 || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<CSwitcherOptions> ParseBusSwitcher(std::string_view text, int nDefaultModel) {
    const size_t colon = text.find(':');
    const std::optional<int> address = Number(text.substr(0, colon));
    if (!address || *address < 0 || *address >= kSlaveAddresses) return std::nullopt;
    CSwitcherOptions options{.nModel = nDefaultModel, .bRs485 = true, .nAddress = *address};
    if (colon == std::string_view::npos) return options;
    const std::string_view model = text.substr(colon + 1);
    if (model != "32" && model != "64") return std::nullopt;
    options.nModel = model == "64" ? 1 : 0;
    return options;
}

std::string BusConflict(const std::vector<CSwitcherOptions>& bus) {
    for (size_t i = 0; i < bus.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (bus[i].nAddress == bus[j].nAddress) {
                return "two switchers with address " + TwoDigits(bus[i].nAddress);
            }
        }
    }
    return "";
}
