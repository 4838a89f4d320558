// qelvarctl ports: the serial devices present and where COM1..COM6 lead.
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/profile_report.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/port_name.h"
#include "link/serial_devices.h"
#include "protocol/visible_text.h"

namespace {

namespace fs = std::filesystem;

// "(absent)" for a device that is not there, "(-> /dev/ttyUSB0)" for a link
// such as a by-id name; nothing for a network address or a plain device.
std::string PathNote(const std::string& path) {
    if (KindOfPortName(path) != PortNameKind::kDevice) return "";
    std::error_code ec;
    if (!fs::exists(path, ec)) return "  (absent)";
    if (!fs::is_symlink(path, ec)) return "";
    const fs::path target = fs::canonical(path, ec);
    return ec ? "" : "  (-> " + target.string() + ")";
}

}  // namespace

int RunPorts(const CCliOptions& options) {
    if (!options.args.empty()) {
        PrintError("usage: qelvarctl ports");
        return kExitUsage;
    }
    ReadProfileSettings(options);

    const auto devices = ListSerialDevices();
    for (const auto& line : DeviceTable(devices)) std::printf("%s\n", line.c_str());
    if (devices.empty()) std::printf("(no serial devices found)\n");

    std::printf("\nPORT    DEVICE (profile %s)\n", VisibleText(ProfilePath()).c_str());
    for (int n = 0; n < kComPorts; ++n) {
        const std::string path = PortPathOf(n);
        std::printf("%c COM%d  %s%s\n", n == g_nComPort ? '*' : ' ', n + 1,
                    VisibleText(path).c_str(), VisibleText(PathNote(path)).c_str());
    }
    return kExitOk;
}
