// What a serial device server sends, through the Telnet layer of an RFC 2217
// connection, in any chunks: the data out is exactly the server's bytes with
// its Telnet commands taken out (a prefix of it once the stream broke), and
// the answers are at most one per negotiation the server sent, so none can
// loop. Data sent through one Telnet layer reads back the same through
// another; a port name that parses writes back to a name that parses the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "link/port_name.h"
#include "link/telnet_codec.h"

namespace {

constexpr unsigned char IAC = 255, SB = 250, SE = 240, WILL = 251, DONT = 254;

struct CStripped {
    std::string data;
    size_t negotiations = 0;  // IAC WILL/WONT/DO/DONT x
    bool broken = false;      // a subnegotiation broke off: what follows is not data for sure
};

// The Telnet commands taken out: IAC IAC is a data 0xFF; IAC WILL/WONT/DO/DONT
// and its option, IAC SB ... IAC SE and any other IAC and its command go. In a
// subnegotiation, IAC and anything but SE or IAC breaks the stream off.
CStripped Strip(const std::string& bytes) {
    enum { kData, kIac, kOption, kSbOption, kSb, kSbIac } state = kData;
    CStripped out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        switch (state) {
            case kData:
                if (b == IAC) {
                    state = kIac;
                } else {
                    out.data += c;
                }
                break;
            case kSbIac:
                if (b == SE) {
                    state = kData;
                    break;
                }
                if (b == IAC) {
                    state = kSb;
                    break;
                }
                out.broken = true;
                return out;
            case kIac:
                if (b == IAC) {
                    out.data += c;
                    state = kData;
                } else if (b >= WILL && b <= DONT) {
                    ++out.negotiations;
                    state = kOption;
                } else if (b == SB) {
                    state = kSbOption;
                } else {
                    state = kData;
                }
                break;
            case kOption:
                state = kData;
                break;
            case kSbOption:
                state = kSb;
                break;
            case kSb:
                if (b == IAC) state = kSbIac;
                break;
        }
    }
    return out;
}

void CheckReceive(const std::vector<size_t>& chunks, const std::string& bytes) {
    CTelnetCodec codec;
    codec.Open(kSwitcherLine);
    codec.Outgoing().clear();
    std::string data;
    size_t at = 0;
    for (size_t chunk : chunks) {
        const size_t n = std::min(chunk, bytes.size() - at);
        codec.Receive(std::string_view(bytes).substr(at, n), data);
        at += n;
    }
    codec.Receive(std::string_view(bytes).substr(at), data);

    // Once broken (also by an overlong subnegotiation, or compression turned
    // on, which the reference does not follow), what came out is a prefix.
    const CStripped expected = Strip(bytes);
    if (expected.broken) FUZZ_CHECK(codec.Broken());
    if (codec.Broken()) {
        FUZZ_CHECK(expected.data.compare(0, data.size(), data) == 0);
    } else {
        FUZZ_CHECK(data == expected.data);
    }
    FUZZ_CHECK(codec.Outgoing().size() <= 3 * expected.negotiations);
}

void CheckRoundTrip(const std::string& bytes) {
    CTelnetCodec sender;
    CTelnetCodec receiver;
    sender.Send(bytes);
    std::string data;
    FUZZ_CHECK(receiver.Receive(sender.Outgoing(), data));
    FUZZ_CHECK(data == bytes);
    FUZZ_CHECK(receiver.Outgoing().empty());
}

void CheckPortName(const std::string& text) {
    std::string error;
    const auto name = ParsePortName(text, &error);
    FUZZ_CHECK(name.has_value() == error.empty());
    if (!name) return;
    const auto again = ParsePortName(FormatPortName(*name));
    FUZZ_CHECK(again && *again == *name);
    if (IsNetworkPort(*name)) FUZZ_CHECK(name->nPort >= 1 && name->nPort <= 65535);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    std::vector<size_t> chunks(provider.ConsumeIntegralInRange<size_t>(0, 16));
    for (auto& chunk : chunks) chunk = provider.ConsumeIntegralInRange<size_t>(0, 64);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();
    CheckReceive(chunks, bytes);
    CheckRoundTrip(bytes);
    CheckPortName(bytes);
    return 0;
}
