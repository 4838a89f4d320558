// The serial devices present on this machine, as the platform's device
// manager (udev) knows them: USB adapters (ttyUSB, ttyACM) and the built-in
// ports (ttyS) that have a UART behind them. The kernel makes a ttyS node for
// every port its driver might serve; those whose UART type is unknown have no
// hardware and are left out.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CSerialDevice {
    std::string strPath{};    // "/dev/ttyUSB0"
    std::string strById{};    // its name in /dev/serial/by-id, or empty
    std::string strVendor{};  // of a USB adapter: "FTDI"
    std::string strModel{};   // "FT232R USB UART"
    std::string strSerial{};  // "A50285BI"
    std::string strDriver{};  // "ftdi_sio", "cdc_acm", "serial"

    bool operator==(const CSerialDevice&) const = default;
};

inline constexpr char kByIdFolder[] = "/dev/serial/by-id";

// Every such device, by path ("ttyS2" before "ttyS10"), with its by-id name.
std::vector<CSerialDevice> ListSerialDevices();

// --- The pieces, apart from udev ---

// Whether a tty of that kernel name is one the list offers.
bool IsSerialPortName(const std::string& sysName);
// Whether a built-in port has a UART: its "type" attribute (the UART type,
// 0 = unknown) when it has one, else its driver ("serial8250" alone serves
// ports without hardware).
bool HasUart(const std::string& uartType, const std::string& driver);
// links: each by-id name with the device path it resolves to.
void JoinByIdNames(std::vector<CSerialDevice>& devices,
                   const std::map<std::string, std::string>& links);
// Orders by path, the numbers in names by value.
void SortByPath(std::vector<CSerialDevice>& devices);

// "FTDI FT232R USB UART (A50285BI)", or empty for a port that says nothing.
std::string DeviceDescription(const CSerialDevice& device);
// One line per device, columns aligned: path, by-id name, vendor, model,
// serial number, "-" for what is not known, each as VisibleText shows it; a
// header line first.
std::vector<std::string> DeviceTable(const std::vector<CSerialDevice>& devices);
