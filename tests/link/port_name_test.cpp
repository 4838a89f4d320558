// Port names: device paths, tcp:// and rfc2217:// addresses, and the names
// that are neither.
#include "link/port_name.h"

#include <gtest/gtest.h>

namespace {

TEST(PortName, DevicesAndServersAreTakenApart) {
    const struct {
        const char* text;
        CPortName name;
    } cases[] = {
        {"/dev/ttyUSB0", {PortKind::kDevice, "", 0, "/dev/ttyUSB0"}},
        {"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0",
         {PortKind::kDevice, "", 0, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"}},
        {"tcp://10.0.0.7:4001", {PortKind::kTcp, "10.0.0.7", 4001, ""}},
        {"tcp://rack-1.lan:1", {PortKind::kTcp, "rack-1.lan", 1, ""}},
        {"rfc2217://localhost:65535", {PortKind::kRfc2217, "localhost", 65535, ""}},
        {"rfc2217://[::1]:2217", {PortKind::kRfc2217, "::1", 2217, ""}},
        {"tcp://[fe80::1:2]:7000", {PortKind::kTcp, "fe80::1:2", 7000, ""}},
    };
    for (const auto& c : cases) {
        std::string error;
        auto name = ParsePortName(c.text, &error);
        ASSERT_TRUE(name) << c.text << ": " << error;
        EXPECT_EQ(*name, c.name) << c.text;
        EXPECT_EQ(IsNetworkPort(*name), c.name.kind != PortKind::kDevice) << c.text;
        EXPECT_EQ(FormatPortName(*name), c.text);
    }
}

TEST(PortName, AnAddressWithoutHostOrPortOrWithAnUnknownSchemeIsRefusedWithWhy) {
    for (const char* text :
         {"tcp://", "tcp://host", "tcp://host:", "tcp://:4001", "tcp://host:0", "tcp://host:65536",
          "tcp://host:40x1", "tcp://ho st:1", "tcp://[::1:4001", "tcp://[::1]4001", "tcp://[zz]:1",
          "rfc2217://host:-1", "tcp://host:4001/x", "telnet://host:23", "udp://host:1", ""}) {
        std::string error;
        EXPECT_FALSE(ParsePortName(text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::string error;
    ParsePortName("tcp://host", &error);
    EXPECT_EQ(error, "tcp://host: not of the form tcp://HOST:PORT");
}

}  // namespace
