// qelvarctl ports: the devices present and the profile's COM1..COM6.
#include <gtest/gtest.h>
#include <unistd.h>

#include "link/serial_devices.h"
#include "tests/cli/run_process.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(QelvarctlPorts, ListsTheDevicesAndWhereEachComPortLeads) {
    CTempDir dir;
    CPtyPair pty;
    const std::string profile = dir.File("p.ini");
    WriteFileText(profile, "[Qelvar-32_Section]\ncom_port=1\n[Ports]\nCOM2=" + pty.SlavePath() +
                               "\nCOM3=tcp://10.0.0.5:4001\nCOM4=/dev/qelvar-none\n");
    auto run = RunProcess(QELVARCTL_PATH, {"--profile", profile, "ports"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    std::string devices;
    for (const auto& line : DeviceTable(ListSerialDevices())) devices += line + "\n";
    ASSERT_EQ(run.out.substr(0, devices.size()), devices);
    const std::string ports = run.out.substr(run.out.find("\nPORT") + 1);
    EXPECT_EQ(ports, "PORT    DEVICE (profile " + profile + ")\n" + "  COM1  /dev/ttyS0" +
                         (access("/dev/ttyS0", F_OK) ? "  (absent)" : "") + "\n* COM2  " +
                         pty.SlavePath() +
                         "\n  COM3  tcp://10.0.0.5:4001\n  COM4  /dev/qelvar-none  (absent)\n" +
                         ports.substr(ports.find("  COM5")));
    EXPECT_EQ(RunProcess(QELVARCTL_PATH, {"ports", "extra"}).status, 1);
}

}  // namespace
