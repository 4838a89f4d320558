// The blocks the server sends: the opening dump, status updates, ACK and NAK.
// Every block ends in a blank line; lines end in LF.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr char kPreambleHeader[] = "PROTOCOL PREAMBLE:";
inline constexpr char kDeviceHeader[] = "VIDEOHUB DEVICE:";
inline constexpr char kInputLabelsHeader[] = "INPUT LABELS:";
inline constexpr char kOutputLabelsHeader[] = "OUTPUT LABELS:";
inline constexpr char kOutputLocksHeader[] = "VIDEO OUTPUT LOCKS:";
inline constexpr char kOutputRoutingHeader[] = "VIDEO OUTPUT ROUTING:";
inline constexpr char kEndPreludeHeader[] = "END PRELUDE:";
inline constexpr char kPingHeader[] = "PING:";
inline constexpr char kProtocolVersion[] = "2.8";

inline constexpr char kAckBlock[] = "ACK\n\n";
inline constexpr char kNakBlock[] = "NAK\n\n";

struct CVideohubDevice {
    bool bPresent = false;
    std::string strModel;
    std::string strFriendlyName;
    std::string strUniqueId;
    int nInputs = 0;
    int nOutputs = 0;
};

// One numbered item of a block: "0 Camera 1", "3 12", "5 L".
using NumberedItem = std::pair<int, std::string>;

std::string FormatBlock(std::string_view header, const std::vector<std::string>& lines);
std::string FormatPreamble();
// Present: every field; not present: that line alone, as the protocol says.
std::string FormatDevice(const CVideohubDevice& device);
// A control character in a text (none should be there) becomes a space, so
// that no item can end the block early.
std::string FormatNumbered(std::string_view header, const std::vector<NumberedItem>& items);
