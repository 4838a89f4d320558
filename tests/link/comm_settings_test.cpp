#include "link/comm_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/ini_file.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "tests/support/temp_dir.h"

namespace {

class CommSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Link().SetProfilePath(profile); }
    void TearDown() override {
        Link().SetProfilePath("");
        Link().SetCommPortOverride("");
        g_nComPort = savedPort;
        g_bRs485 = savedRs485;
        g_nModel = savedModel;
    }
    // What the tests change, put back for the tests that run after them.
    const int savedPort = g_nComPort;
    const int savedRs485 = g_bRs485;
    const int savedModel = g_nModel;
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
    EXPECT_FALSE(WriteCommSettings());
    g_nModel = 1;
    EXPECT_FALSE(WriteModelSetting());
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

// The example of README.md, "Profile and port", as it stands there.
const char kReadmeExample[] = R"([Qelvar-32_Section]
com_port=0      ; 0..5 = COM1..COM6
rs_control=0    ; 0 = RS-232C, 1 = RS-485
qlv_model=0     ; 0 = Qelvar-32, 1 = Qelvar-64

[Ports]
COM1=/dev/ttyUSB0   ; optional; COMn is /dev/ttyS(n-1) otherwise
)";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST_F(CommSettingsTest, TheReadmeExampleReadsWithItsCommentsAndKeepsThemWhenWritten) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile, kReadmeExample);
    g_nComPort = g_bRs485 = g_nModel = 1;
    EXPECT_TRUE(ReadCommSettings().notes.empty());
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 0);
    EXPECT_EQ(CommPortPath(), "/dev/ttyUSB0");

    std::string edited = Replaced(kReadmeExample, "com_port=0 ", "com_port=2 ; COM3");
    edited = Replaced(edited, "rs_control=0", "rs_control=1");
    edited = Replaced(edited, "qlv_model=0", "qlv_model=1");
    edited = Replaced(edited, "COM1=", "COM3=");
    WriteFileText(profile, edited);
    EXPECT_TRUE(ReadCommSettings().notes.empty());
    EXPECT_EQ(g_nComPort, 2);
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(CommPortPath(), "/dev/ttyUSB0");

    // Writing changes the values only; every comment stays where it was.
    g_nComPort = 4;
    g_bRs485 = 0;
    EXPECT_FALSE(WriteCommSettings());
    g_nModel = 0;
    EXPECT_FALSE(WriteModelSetting());
    std::string written = Replaced(edited, "com_port=2 ; COM3", "com_port=4 ; COM3");
    written = Replaced(written, "rs_control=1", "rs_control=0");
    written = Replaced(written, "qlv_model=1", "qlv_model=0");
    EXPECT_EQ(ReadFileText(profile), written);
}

TEST_F(CommSettingsTest, NamesMatchWithoutRegardToCaseAndBlanksAroundThemAreIgnored) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile,
                  "  [ qelvar-32_SECTION ]  ; the link\r\n"
                  "\tCOM_Port \t=\t 3\t# COM4\r\n"
                  "Rs_Control = 1 ;\r\n"
                  "[ports]\n"
                  " com4 = /dev/serial/by-id/usb-FTDI#1;a   # adapter \n"
                  "COM5=  ; nothing mapped\n");
    EXPECT_TRUE(ReadCommSettings().notes.empty());
    EXPECT_EQ(g_nComPort, 3);
    EXPECT_EQ(g_bRs485, 1);
    // A ";" or "#" without a blank before it belongs to the value.
    EXPECT_EQ(CommPortPath(), "/dev/serial/by-id/usb-FTDI#1;a");
    g_nComPort = 4;
    EXPECT_EQ(CommPortPath(), "/dev/ttyS4");

    // The keys are replaced where they stand, in their own spelling; the new
    // one joins the section it belongs to.
    g_nComPort = 1;
    g_bRs485 = 0;
    EXPECT_FALSE(WriteCommSettings());
    g_nModel = 1;
    EXPECT_FALSE(WriteModelSetting());
    EXPECT_EQ(ReadFileText(profile),
              "  [ qelvar-32_SECTION ]  ; the link\n"
              "\tCOM_Port \t=\t 1\t# COM4\n"
              "Rs_Control = 0 ;\n"
              "qlv_model=1\n"
              "[ports]\n"
              " com4 = /dev/serial/by-id/usb-FTDI#1;a   # adapter \n"
              "COM5=  ; nothing mapped\n");
    EXPECT_TRUE(ReadCommSettings().notes.empty());
    EXPECT_EQ(g_nComPort, 1);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 1);
}

TEST_F(CommSettingsTest, EachUnusableValueIsNamedWithItsReasonOncePerRead) {
    std::filesystem::create_directories(dir.File("conf/Qelvar"));
    WriteFileText(profile, "[Qelvar-32_Section]\ncom_port=9 ; COM10\nrs_control=\nqlv_model=abc\n");
    g_nComPort = g_bRs485 = g_nModel = 1;
    const std::string where = "profile " + profile + ": ";
    const std::vector<std::string> notes{
        where + "com_port=9 ignored (not 0..5), 0 used",
        where + "rs_control= ignored (no value), 0 used",
        where + "qlv_model=abc ignored (not a whole number), 0 used"};
    EXPECT_EQ(ReadCommSettings().notes, notes);
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 0);
    EXPECT_EQ(ReadCommSettings().notes,
              notes);  // a new read, the same notes: nothing is remembered

    WriteFileText(profile,
                  "[Qelvar-32_Section]\ncom_port=-1\nrs_control=2\nqlv_model=99999999999\n");
    EXPECT_EQ(
        ReadCommSettings().notes,
        (std::vector<std::string>{where + "com_port=-1 ignored (not 0..5), 0 used",
                                  where + "rs_control=2 ignored (not 0 or 1), 0 used",
                                  where + "qlv_model=99999999999 ignored (not 0 or 1), 0 used"}));
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
    Link().SetCommPortOverride("/dev/pts/9");
    EXPECT_EQ(CommPortPath(), "/dev/pts/9");
}

TEST_F(CommSettingsTest, ProfileLocation) {
    Link().SetProfilePath("");
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

TEST(IniFileTest, ValuesThatWouldReadBackOtherwiseAreQuoted) {
    CTempDir dir;
    const std::string path = dir.File("p.ini");
    CIniFile ini;
    for (std::string value : {"/dev/a ;b", " lead", "\"q\" \\", "a;b#c", "", "x # y"}) {
        ini.SetString("P", "k", value);
        ASSERT_TRUE(ini.Save(path));
        CIniFile again;
        again.Load(path);
        EXPECT_EQ(again.GetString("p", "K"), value) << again.Text();
    }
    EXPECT_EQ(ini.Text(), "[P]\nk=\"x # y\"\n");

    // Quotes that do not enclose the whole value are part of it.
    WriteFileText(path, "[P]\na=\"x\" y\nb=\"x\";y\nc=\"x ; y\"\t; z\nd=\"open\n");
    ini.Load(path);
    EXPECT_EQ(ini.GetString("P", "a"), "\"x\" y");
    EXPECT_EQ(ini.GetString("P", "b"), "\"x\";y");
    EXPECT_EQ(ini.GetString("P", "c"), "x ; y");
    EXPECT_EQ(ini.GetString("P", "d"), "\"open");
}

TEST(IniFileTest, AValueStartingLikeACommentReadsBackAfterBlanks) {
    // Found by the profile fuzz target: written bare after "k = ", ";b" read back as a comment.
    CTempDir dir;
    const std::string path = dir.File("p.ini");
    WriteFileText(path, "[P]\nk = old ; note\n");
    CIniFile ini;
    ini.Load(path);
    for (std::string value : {";b", "#b", "; ", "#"}) {
        ini.SetString("P", "k", value);
        ASSERT_TRUE(ini.Save(path));
        CIniFile again;
        again.Load(path);
        EXPECT_EQ(again.GetString("P", "k"), value) << again.Text();
    }
    EXPECT_EQ(ini.Text(), "[P]\nk = \"#\" ; note\n");
}

}  // namespace
