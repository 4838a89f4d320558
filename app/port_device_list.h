// The device a COM port opens, as the communication settings dialog offers
// it: the serial devices present to pick from (a USB adapter by its stable
// /dev/serial/by-id name, with vendor and model), and a line saying what the
// text in the field names.
#pragma once

#include <QComboBox>
#include <QString>
#include <string>
#include <vector>

#include "link/serial_devices.h"

// The path to keep for a device: its by-id name when it has one, which
// survives re-plugging into another USB socket, else its node.
std::string StablePath(const CSerialDevice& device);

// Puts one entry per device in the editable list: the path and, after it,
// what the device is; the entry's data is the path alone.
void FillDeviceList(QComboBox& combo, const std::vector<CSerialDevice>& devices);

// What text names: "FTDI FT232R USB UART (A50285BI) → /dev/ttyUSB0", "ネットワーク
// (TCP)", "見つかりません" for a device that is not there, and so on.
QString DeviceInfoText(const std::string& text, const std::vector<CSerialDevice>& devices);
