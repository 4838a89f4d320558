#include "link/comm_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/ini_file.h"
#include "model/settings_model.h"
#include "tests/support/temp_dir.h"

namespace {

class CommSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetProfilePath(profile); }
    void TearDown() override {
        SetProfilePath("");
        SetCommPortOverride("");
    }
    CTempDir dir;
    std::string profile = dir.File("conf/Qelvar/Qelvar.ini");
};

TEST_F(CommSettingsTest, AnEmptyProfileGivesCom1Rs232AndThe32InputModelAndWritesNothing) {
    g_nComPort = 3;
    g_bRs485 = 1;
    g_nModel = 1;
    ReadCommSettings();
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 0);
    EXPECT_EQ(CommPortPath(), "/dev/ttyS0");
    EXPECT_FALSE(std::ifstream(profile).good());
}

TEST_F(CommSettingsTest, WrittenSettingsReadBackAndKeepTheRestOfTheFile) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile, "; kept\n[Recent File List]\nFile1=/tmp/a.dat\n");
    g_nComPort = 4;
    g_bRs485 = 1;
    WriteCommSettings();
    g_nModel = 1;
    WriteModelSetting();
    EXPECT_EQ(ReadFileText(profile),
              "; kept\n[Recent File List]\nFile1=/tmp/a.dat\n\n"
              "[Qelvar-32_Section]\ncom_port=4\nrs_control=1\nqlv_model=1\n");
    g_nComPort = g_bRs485 = g_nModel = 0;
    ReadCommSettings();
    EXPECT_EQ(g_nComPort, 4);
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(CommPortPath(), "/dev/ttyS4");
}

TEST_F(CommSettingsTest, OutOfRangeOrNonNumericValuesFallBackToZero) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile, "[Qelvar-32_Section]\r\ncom_port=6\r\nrs_control=-1\r\nqlv_model=x\r\n");
    g_nComPort = g_bRs485 = g_nModel = 1;
    ReadCommSettings();
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 0);
    WriteFileText(profile, "[Qelvar-32_Section]\ncom_port = 5 \nqlv_model=1\n");
    ReadCommSettings();
    EXPECT_EQ(g_nComPort, 5);
    EXPECT_EQ(g_nModel, 1);
}

TEST_F(CommSettingsTest, PortsSectionAndOverrideChooseTheDevice) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile,
                  "[Ports]\nCOM2=/dev/ttyUSB0\nCOM3=\"/dev/serial/by-id/usb-FTDI, Inc.\"\n");
    g_nComPort = 1;
    EXPECT_EQ(CommPortPath(), "/dev/ttyUSB0");
    g_nComPort = 2;
    EXPECT_EQ(CommPortPath(), "/dev/serial/by-id/usb-FTDI, Inc.");
    g_nComPort = 5;
    EXPECT_EQ(CommPortPath(), "/dev/ttyS5");
    SetCommPortOverride("/dev/pts/9");
    EXPECT_EQ(CommPortPath(), "/dev/pts/9");
}

TEST_F(CommSettingsTest, ProfileLocation) {
    SetProfilePath("");
    ::setenv("QELVAR_PROFILE", "/x/p.ini", 1);
    EXPECT_EQ(ProfilePath(), "/x/p.ini");
    ::unsetenv("QELVAR_PROFILE");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(ProfilePath(), "/cfg/Qelvar/Qelvar.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/op", 1);
    EXPECT_EQ(ProfilePath(), "/home/op/.config/Qelvar/Qelvar.ini");
}

TEST(IniFileTest, SetReplacesInPlaceAndAddsToTheRightSection) {
    CIniFile ini;
    ini.SetInt("A", "x", 1);
    ini.SetInt("B", "y", 2);
    ini.SetInt("A", "z", 3);
    ini.SetInt("A", "x", 4);
    EXPECT_EQ(ini.Text(), "[A]\nx=4\nz=3\n\n[B]\ny=2\n");
    EXPECT_EQ(ini.GetInt("B", "y", -1), 2);
    EXPECT_EQ(ini.GetInt("B", "x", -1), -1);
    EXPECT_EQ(ini.GetString("A", "z"), "3");
}

}  // namespace
