// The serial devices present, and the names a user may give a port.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "link/port_name.h"
#include "link/serial_devices.h"

namespace {

namespace fs = std::filesystem;

std::string SysAttr(const fs::path& tty, const char* name) {
    std::ifstream in(tty / name);
    std::string value;
    std::getline(in, value);
    return value;
}

// Whatever this machine has (often no USB adapter, always some ttyS): the list
// names real character devices, once each, in order, and agrees with sysfs.
TEST(SerialDevices, TheListAgreesWithWhatThisMachineHas) {
    const auto devices = ListSerialDevices();
    std::set<std::string> paths;
    for (const auto& d : devices) {
        struct stat st {};
        ASSERT_EQ(::stat(d.strPath.c_str(), &st), 0) << d.strPath;
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << d.strPath;
        EXPECT_TRUE(paths.insert(d.strPath).second) << d.strPath;
        if (!d.strById.empty()) {
            EXPECT_EQ(fs::canonical(fs::path(kByIdFolder) / d.strById), fs::path(d.strPath));
        }
    }
    auto sorted = devices;
    SortByPath(sorted);
    EXPECT_EQ(sorted, devices);

    // Every USB adapter and every ttyS with a known UART is listed, no other ttyS.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/sys/class/tty", ec)) {
        const std::string name = entry.path().filename().string();
        const std::string node = "/dev/" + name;
        if (!IsSerialPortName(name) || !fs::exists(node)) continue;
        const bool builtIn = name.starts_with("ttyS");
        const bool expected = !builtIn || SysAttr(entry.path(), "type") != "0";
        EXPECT_EQ(paths.count(node), expected ? 1u : 0u) << node;
    }
    // Every by-id link that leads to a device leads to one in the list.
    for (const auto& entry : fs::directory_iterator(kByIdFolder, ec)) {
        const fs::path target = fs::canonical(entry.path(), ec);
        if (!ec) {
            EXPECT_EQ(paths.count(target.string()), 1u) << entry.path();
        }
    }
}

TEST(SerialDevices, OnlyAdaptersAndBuiltInPortsWithAUartAreOffered) {
    for (const char* name : {"ttyUSB0", "ttyACM12", "ttyS0", "ttyS31"}) {
        EXPECT_TRUE(IsSerialPortName(name)) << name;
    }
    for (const char* name :
         {"tty", "tty0", "ttyS", "ttyUSB", "ttyAMA0", "ttyS0a", "console", "ptmx"}) {
        EXPECT_FALSE(IsSerialPortName(name)) << name;
    }
    EXPECT_TRUE(HasUart("4", "serial"));       // a 16550A
    EXPECT_TRUE(HasUart("4", "serial8250"));   // found by the legacy probe, still real
    EXPECT_FALSE(HasUart("0", "serial8250"));  // a placeholder without hardware
    EXPECT_FALSE(HasUart("0", "serial"));
    EXPECT_TRUE(HasUart("", "serial"));
    EXPECT_FALSE(HasUart("", "serial8250"));
    EXPECT_FALSE(HasUart("", ""));
}

TEST(SerialDevices, ByIdNamesJoinTheirDevicesAndTheTableLinesUp) {
    std::vector<CSerialDevice> devices = {
        {.strPath = "/dev/ttyUSB10"},
        {.strPath = "/dev/ttyS0", .strDriver = "serial"},
        {.strPath = "/dev/ttyUSB2"},
        {.strPath = "/dev/ttyACM0"},
    };
    JoinByIdNames(devices, {{"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "/dev/ttyUSB2"},
                            {"usb-Prolific_PL2303-if00-port0", "/dev/ttyUSB10"},
                            {"usb-gone-if00", "/dev/ttyUSB7"}});
    devices[2].strVendor = "FTDI";
    devices[2].strModel = "FT232R USB UART";
    devices[2].strSerial = "A50285BI";
    SortByPath(devices);
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].strPath, "/dev/ttyACM0");
    EXPECT_EQ(devices[1].strPath, "/dev/ttyS0");
    EXPECT_EQ(devices[2].strPath, "/dev/ttyUSB2");  // 2 before 10
    EXPECT_EQ(devices[2].strById, "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(devices[3].strById, "usb-Prolific_PL2303-if00-port0");
    EXPECT_EQ(devices[1].strById, "");

    EXPECT_EQ(DeviceDescription(devices[2]), "FTDI FT232R USB UART (A50285BI)");
    EXPECT_EQ(DeviceDescription(devices[1]), "");
    EXPECT_EQ(DeviceDescription({.strModel = "CP2102", .strSerial = "0001"}), "CP2102 (0001)");
    EXPECT_EQ(DeviceDescription({.strSerial = "0001"}), "(0001)");

    const std::vector<std::string> table = DeviceTable({devices[1], devices[2]});
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(
        table[0],
        "DEVICE        BY-ID                                         VENDOR  MODEL            "
        "SERIAL");
    EXPECT_EQ(
        table[1],
        "/dev/ttyS0    -                                             -       -                -");
    EXPECT_EQ(
        table[2],
        "/dev/ttyUSB2  usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0  FTDI    FT232R USB UART  "
        "A50285BI");
}

TEST(PortNames, DevicePathsAndNetworkAddressesAreTakenAndNothingElse) {
    for (const char* name :
         {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_X-if00-port0", "/tmp/pty"}) {
        EXPECT_EQ(KindOfPortName(name), PortNameKind::kDevice) << name;
    }
    for (const char* name :
         {"tcp://10.0.0.5:4001", "tcp://rack-ts.local:2001", "tcp://[::1]:65535"}) {
        EXPECT_EQ(KindOfPortName(name), PortNameKind::kTcp) << name;
    }
    EXPECT_EQ(KindOfPortName("rfc2217://moxa-1:950"), PortNameKind::kRfc2217);
    const char* refused[] = {"COM1",
                             "",
                             "/",
                             "/dev/tty USB0",
                             "tcp://host",
                             "tcp://:4001",
                             "tcp://host:0",
                             "tcp://host:65536",
                             "tcp://host:40a1",
                             "tcp://host:4001/x",
                             "rfc2217://[::1]",
                             "udp://host:4001"};
    for (const char* name : refused) {
        EXPECT_EQ(KindOfPortName(name), PortNameKind::kInvalid) << name;
    }
}

}  // namespace
