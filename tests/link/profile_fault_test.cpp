// A profile that cannot be read or written is never taken silently as empty:
// the link layer says what went wrong and why, and does not write over a
// profile it could not read.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "link/comm_settings.h"
#include "link/ini_file.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "tests/link/link_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

const char kProfileText[] =
    "; "
    "mine\n[Qelvar-32_Section]\ncom_port=3\nrs_control=1\nqlv_model=1\n[Ports]\nCOM4=/dev/"
    "ttyUSB7\n";

std::string Described(const std::optional<CProfileFault>& fault) {
    if (!fault) return "none";
    const char* kind = fault->kind == CProfileFault::Kind::kRead ? "read " : "write ";
    return kind + fault->strPath + ": " + fault->strReason;
}

// What a first read and then each writer make of the profile, in one line each.
std::string ReadAndWrite() {
    g_nComPort = 3;
    g_bRs485 = 1;
    g_nModel = 1;
    const CCommSettingsRead read = ReadCommSettings();
    std::string out = "read=" + Described(read.fault) + "\n";
    out += "values=" + std::to_string(g_nComPort) + std::to_string(g_bRs485) +
           std::to_string(g_nModel) + " port=" + CommPortPath() + "\n";
    out += "comm=" + Described(WriteCommSettings()) + "\n";
    out += "model=" + Described(WriteModelSetting()) + "\n";
    out += "ports=" + Described(WritePortPath(0, "/dev/ttyUSB0")) + "\n";
    return out;
}

std::string Expected(const std::string& read, const std::string& write) {
    return "read=" + read + "\nvalues=000 port=/dev/ttyS0\ncomm=" + write + "\nmodel=" + write +
           "\nports=" + write + "\n";
}

class ProfileFaultTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        // The unprivileged child must reach the folder, not what is in it.
        ::chmod(dir.Path().c_str(), 0755);
        Link().SetProfilePath(profile);
    }
    void TearDown() override { Link().SetProfilePath(""); }

    // The profile, with mode, owned by the unprivileged user.
    void WriteTheirs(mode_t mode) {
        WriteFileText(profile, kProfileText);
        ASSERT_EQ(::chown(profile.c_str(), UnprivilegedUid(), UnprivilegedGid()), 0);
        ASSERT_EQ(::chmod(profile.c_str(), mode), 0);
    }
    static std::string Error(int err) { return std::strerror(err); }

    CTempDir dir;
    std::string profile = dir.File("Qelvar.ini");
};

TEST_F(ProfileFaultTest, AFolderInThePlaceOfTheProfileIsNamedAndLeftAlone) {
    std::filesystem::create_directory(profile);
    const std::string fault = profile + ": " + Error(EISDIR);
    EXPECT_EQ(ReadAndWrite(), Expected("read " + fault, "read " + fault));
    EXPECT_TRUE(std::filesystem::is_empty(profile));
    EXPECT_TRUE(ReadCommSettings().notes.empty());  // said by the fault, not again as notes
}

TEST_F(ProfileFaultTest, AFileTheUserMayNotReadIsNamedAndNotWrittenOver) {
    WriteTheirs(0000);
    const std::string fault = "read " + profile + ": " + Error(EACCES);
    EXPECT_EQ(RunUnprivileged(ReadAndWrite), Expected(fault, fault));

    // It may be written but not read, in a folder the user may write to:
    // writing would lose what else it holds.
    ASSERT_EQ(::chown(dir.Path().c_str(), UnprivilegedUid(), UnprivilegedGid()), 0);
    ASSERT_EQ(::chmod(profile.c_str(), 0200), 0);
    EXPECT_EQ(RunUnprivileged(ReadAndWrite), Expected(fault, fault));
    EXPECT_EQ(ReadFileText(profile), kProfileText);
}

TEST_F(ProfileFaultTest, AFileTheUserMayReadButNotWriteKeepsItsSettingsAndSaysSo) {
    WriteTheirs(0444);
    const auto got = RunUnprivileged([] {
        const CCommSettingsRead read = ReadCommSettings();
        std::string out = "read=" + Described(read.fault) +
                          " values=" + std::to_string(g_nComPort) + std::to_string(g_bRs485) +
                          std::to_string(g_nModel) + " COM4=" + PortPathOf(3) + "\n";
        return out + "comm=" + Described(WriteCommSettings());
    });
    EXPECT_EQ(got, "read=none values=311 COM4=/dev/ttyUSB7\ncomm=write " + profile + ": " +
                       Error(EACCES));
    EXPECT_EQ(ReadFileText(profile), kProfileText);
}

TEST_F(ProfileFaultTest, AProfileOnAReadOnlyMountCannotBeWritten) {
    WriteFileText(profile, kProfileText);
    const std::string folder = dir.Path();
    const auto got = InChild([&folder]() -> std::string {
        // A mount namespace of the child's own, so nothing outside sees the mount.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                0) {
            return "no mount: " + std::string(std::strerror(errno));
        }
        ReadCommSettings();
        return std::to_string(g_nComPort) + " " + Described(WriteCommSettings()) + "\n" +
               Described(WritePortPath(1, "/dev/ttyUSB1"));
    });
    ASSERT_TRUE(got);
    if (got->starts_with("no mount")) GTEST_SKIP() << "cannot mount here: " << *got;
    const std::string fault = "write " + profile + ": " + Error(EROFS);
    EXPECT_EQ(*got, "3 " + fault + "\n" + fault);
}

TEST_F(ProfileFaultTest, AFifoInThePlaceOfTheProfileIsRefusedWithoutWaitingForAWriter) {
    ASSERT_EQ(::mkfifo(profile.c_str(), 0644), 0);
    const CCommSettingsRead read = ReadCommSettings();  // hung here before
    EXPECT_EQ(Described(read.fault), "read " + profile + ": not a regular file");
    EXPECT_EQ(Described(WriteModelSetting()), "read " + profile + ": not a regular file");
}

TEST_F(ProfileFaultTest, AMissingProfileIsNoFaultAndIsCreatedWhenWritten) {
    const std::string nested = dir.File("conf/Qelvar/Qelvar.ini");
    Link().SetProfilePath(nested);
    EXPECT_FALSE(ReadCommSettings().fault);
    g_nModel = 1;
    EXPECT_FALSE(WriteModelSetting());
    EXPECT_EQ(ReadFileText(nested), "[Qelvar-32_Section]\nqlv_model=1\n");

    // A file where a folder of the path should be is a fault, not an absent profile.
    Link().SetProfilePath(dir.File("conf/Qelvar/Qelvar.ini/p.ini"));
    EXPECT_EQ(Described(ReadCommSettings().fault),
              "read " + dir.File("conf/Qelvar/Qelvar.ini/p.ini") + ": " + Error(ENOTDIR));
}

TEST(IniFileFaultTest, LoadAndSaveSayWhyNot) {
    CTempDir dir;
    CIniFile ini;
    ini.SetInt("A", "x", 1);
    const CIniResult missing = ini.Load(dir.File("none.ini"));
    EXPECT_TRUE(missing.bOk);
    EXPECT_EQ(ini.Text(), "");
    const CIniResult folder = ini.Load(dir.Path());
    EXPECT_FALSE(folder.bOk);
    EXPECT_EQ(folder.strReason, std::strerror(EISDIR));
    ini.SetInt("A", "x", 1);
    const CIniResult onFolder = ini.Save(dir.Path());
    EXPECT_FALSE(onFolder.bOk);
    EXPECT_EQ(onFolder.strReason, std::strerror(EISDIR));
    const CIniResult saved = ini.Save(dir.File("p.ini"));
    EXPECT_TRUE(saved.bOk) << saved.strReason;
    EXPECT_EQ(ReadFileText(dir.File("p.ini")), "[A]\nx=1\n");
}

}  // namespace
