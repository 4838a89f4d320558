#include "link/serial_devices.h"

#include <libudev.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>

#include "protocol/visible_text.h"

namespace {

namespace fs = std::filesystem;

std::string Text(const char* s) {
    return s ? s : "";
}

// The first of the values that is not empty.
std::string FirstOf(std::initializer_list<std::string> values) {
    for (const auto& v : values) {
        if (!v.empty()) return v;
    }
    return "";
}

// The nearest driver above the tty; the serial core's generic "port" says nothing.
std::string DriverOf(udev_device* tty) {
    for (udev_device* d = udev_device_get_parent(tty); d; d = udev_device_get_parent(d)) {
        const std::string driver = Text(udev_device_get_driver(d));
        if (!driver.empty() && driver != "port") return driver;
    }
    return "";
}

// Vendor, model and serial number: the USB device's own strings, else what
// udev's database holds.
void DescribeUsb(udev_device* tty, CSerialDevice& device) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    auto attr = [&](const char* name) {
        return usb ? Text(udev_device_get_sysattr_value(usb, name)) : "";
    };
    auto prop = [&](const char* name) { return Text(udev_device_get_property_value(tty, name)); };
    device.strVendor =
        FirstOf({attr("manufacturer"), prop("ID_VENDOR_FROM_DATABASE"), prop("ID_VENDOR")});
    device.strModel = FirstOf({attr("product"), prop("ID_MODEL_FROM_DATABASE"), prop("ID_MODEL")});
    device.strSerial = FirstOf({attr("serial"), prop("ID_SERIAL_SHORT")});
}

std::optional<CSerialDevice> DeviceOf(udev_device* tty) {
    const std::string name = Text(udev_device_get_sysname(tty));
    const std::string node = Text(udev_device_get_devnode(tty));
    if (!IsSerialPortName(name) || node.empty()) return std::nullopt;
    CSerialDevice device;
    device.strPath = node;
    device.strDriver = DriverOf(tty);
    if (name.starts_with("ttyS") &&
        !HasUart(Text(udev_device_get_sysattr_value(tty, "type")), device.strDriver)) {
        return std::nullopt;
    }
    DescribeUsb(tty, device);
    return device;
}

std::map<std::string, std::string> ByIdLinks() {
    std::map<std::string, std::string> links;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kByIdFolder, ec)) {
        fs::path target = fs::canonical(entry.path(), ec);
        if (!ec) links[entry.path().filename().string()] = target.string();
    }
    return links;
}

using UdevPtr = std::unique_ptr<udev, decltype(&udev_unref)>;
using EnumPtr = std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)>;
using DevicePtr = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

std::vector<CSerialDevice> TtyDevices() {
    std::vector<CSerialDevice> devices;
    UdevPtr u(udev_new(), udev_unref);
    if (!u) return devices;
    EnumPtr e(udev_enumerate_new(u.get()), udev_enumerate_unref);
    if (!e || udev_enumerate_add_match_subsystem(e.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(e.get()) < 0) {
        return devices;
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
        DevicePtr tty(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)),
                      udev_device_unref);
        if (!tty) continue;
        if (auto device = DeviceOf(tty.get())) devices.push_back(std::move(*device));
    }
    return devices;
}

// "ttyS10" as ("ttyS", 10) so that it follows "ttyS9".
bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            const std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
            if (na.size() != nb.size()) return na.size() < nb.size();
            if (na != nb) return na < nb;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::string OrDash(const std::string& s) {
    return s.empty() ? "-" : s;
}

}  // namespace

std::vector<CSerialDevice> ListSerialDevices() {
    std::vector<CSerialDevice> devices = TtyDevices();
    JoinByIdNames(devices, ByIdLinks());
    SortByPath(devices);
    return devices;
}

bool IsSerialPortName(const std::string& sysName) {
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        const std::string_view p(prefix);
        if (sysName.size() > p.size() && sysName.starts_with(p) &&
            std::all_of(sysName.begin() + static_cast<long>(p.size()), sysName.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
            return true;
        }
    }
    return false;
}

bool HasUart(const std::string& uartType, const std::string& driver) {
    if (!uartType.empty()) return uartType != "0";
    return !driver.empty() && driver != "serial8250";
}

void JoinByIdNames(std::vector<CSerialDevice>& devices,
                   const std::map<std::string, std::string>& links) {
    for (auto& device : devices) {
        for (const auto& [name, target] : links) {
            if (target == device.strPath) {
                device.strById = name;
                break;
            }
        }
    }
}

void SortByPath(std::vector<CSerialDevice>& devices) {
    std::sort(devices.begin(), devices.end(), [](const CSerialDevice& a, const CSerialDevice& b) {
        return NaturalLess(a.strPath, b.strPath);
    });
}

std::string DeviceDescription(const CSerialDevice& device) {
    std::string text = device.strVendor;
    if (!device.strModel.empty()) text += (text.empty() ? "" : " ") + device.strModel;
    if (!device.strSerial.empty()) text += (text.empty() ? "(" : " (") + device.strSerial + ")";
    return text;
}

std::vector<std::string> DeviceTable(const std::vector<CSerialDevice>& devices) {
    using Row = std::array<std::string, 5>;
    std::vector<Row> rows{{"DEVICE", "BY-ID", "VENDOR", "MODEL", "SERIAL"}};
    // The names come from the adapter itself (its USB strings): they may hold anything.
    for (const auto& d : devices) {
        rows.push_back({VisibleText(d.strPath), VisibleText(OrDash(d.strById)),
                        VisibleText(OrDash(d.strVendor)), VisibleText(OrDash(d.strModel)),
                        VisibleText(OrDash(d.strSerial))});
    }
    std::array<size_t, 5> width{};
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
    }
    std::vector<std::string> lines;
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(width[c] - row[c].size() + 2, ' ');
        }
        lines.push_back(line);
    }
    return lines;
}
