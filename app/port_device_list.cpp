#include "app/port_device_list.h"

#include <filesystem>

#include "dialog_kit/qt_text.h"
#include "link/port_name.h"

namespace {

namespace fs = std::filesystem;

// The device node a path leads to, or the path itself.
std::string Resolved(const std::string& path) {
    std::error_code ec;
    fs::path target = fs::canonical(path, ec);
    return ec ? path : target.string();
}

QString Describe(const CSerialDevice& device) {
    const std::string what = DeviceDescription(device);
    if (!what.empty()) return Text(what);
    return device.strDriver.empty() ? QString("シリアルポート")
                                    : QString("シリアルポート (%1)").arg(Text(device.strDriver));
}

}  // namespace

std::string StablePath(const CSerialDevice& device) {
    if (device.strById.empty()) return device.strPath;
    return std::string(kByIdFolder) + "/" + device.strById;
}

void FillDeviceList(QComboBox& combo, const std::vector<CSerialDevice>& devices) {
    for (const auto& device : devices) {
        const std::string path = StablePath(device);
        const std::string what = DeviceDescription(device);
        combo.addItem(Text(what.empty() ? path : path + "   " + what), Text(path));
    }
}

QString DeviceInfoText(const std::string& text, const std::vector<CSerialDevice>& devices) {
    if (text.empty()) return "";
    switch (KindOfPortName(text)) {
        case PortNameKind::kTcp:
            return "ネットワーク (TCP)";
        case PortNameKind::kRfc2217:
            return "ネットワーク (RFC 2217)";
        case PortNameKind::kInvalid:
            return "デバイスのパスか tcp:// / rfc2217:// のアドレスを入力してください";
        case PortNameKind::kDevice:
            break;
    }
    std::error_code ec;
    if (!fs::exists(text, ec)) return "見つかりません";
    const std::string node = Resolved(text);
    const QString arrow = node != text ? " → " + Text(node) : QString();
    for (const auto& device : devices) {
        if (device.strPath == node) return Describe(device) + arrow;
    }
    return arrow.isEmpty() ? QString() : arrow.mid(3);
}
