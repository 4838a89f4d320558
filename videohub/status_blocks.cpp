#include "videohub/status_blocks.h"

namespace {

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return line;
}

}  // namespace

std::string FormatBlock(std::string_view header, const std::vector<std::string>& lines) {
    std::string block(header);
    block += '\n';
    for (const std::string& line : lines) {
        block += line;
        block += '\n';
    }
    block += '\n';
    return block;
}

std::string FormatPreamble() {
    return FormatBlock(kPreambleHeader, {std::string("Version: ") + kProtocolVersion});
}

std::string FormatDevice(const CVideohubDevice& device) {
    if (!device.bPresent) return FormatBlock(kDeviceHeader, {"Device present: false"});
    return FormatBlock(
        kDeviceHeader,
        {"Device present: true", "Model name: " + OneLine(device.strModel),
         "Friendly name: " + OneLine(device.strFriendlyName),
         "Unique ID: " + OneLine(device.strUniqueId),
         "Video inputs: " + std::to_string(device.nInputs), "Video processing units: 0",
         "Video outputs: " + std::to_string(device.nOutputs), "Video monitoring outputs: 0",
         "Serial ports: 0"});
}

std::string FormatNumbered(std::string_view header, const std::vector<NumberedItem>& items) {
    std::vector<std::string> lines;
    lines.reserve(items.size());
    for (const auto& [number, text] : items) {
        lines.push_back(std::to_string(number) + ' ' + OneLine(text));
    }
    return FormatBlock(header, lines);
}
