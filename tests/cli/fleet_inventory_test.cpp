#include "cli/fleet_inventory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <utility>

#include "tests/support/temp_dir.h"

namespace {

using Faults = std::vector<std::pair<int, std::string>>;

class FleetInventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::mkdir(dir.File("sites").c_str(), 0755);
        WriteFileText(dir.File("sites/a.dat"), "settings\n");
    }
    CFleetInventory Read(const std::string& text) {
        WriteFileText(path, text);
        return ReadFleetInventory(path);
    }
    Faults FaultsOf(const std::string& text) {
        Faults out;
        for (const auto& e : Read(text).errors) out.emplace_back(e.nLine, e.strText);
        return out;
    }
    CTempDir dir;
    std::string path = dir.File("inventory.ini");
};

TEST_F(FleetInventoryTest, TheIssuesExampleReadsBackExactly) {
    ::mkdir(dir.File("sites/hq").c_str(), 0755);
    WriteFileText(dir.File("sites/hq/rack-1-east.dat"), "x\n");
    const auto inventory = Read(
        "; building HQ\n"
        "[rack-1 east]\n"
        "port = rfc2217://10.0.4.11:2217\n"
        "address = 05          ; RS-485; leave out for RS-232C\n"
        "model = 32\n"
        "file = sites/hq/rack-1-east.dat\n");
    ASSERT_TRUE(inventory);
    ASSERT_EQ(inventory.switchers.size(), 1u);
    const CFleetSwitcher& sw = inventory.switchers[0];
    EXPECT_EQ(sw.strName, "rack-1 east");
    EXPECT_EQ(sw.strPort, "rfc2217://10.0.4.11:2217");
    EXPECT_EQ(sw.nAddress, 5);
    EXPECT_EQ(sw.nModel, 0);
    EXPECT_EQ(sw.strFile, dir.File("sites/hq/rack-1-east.dat"));
    EXPECT_EQ(sw.nLine, 2);
}

TEST_F(FleetInventoryTest, AbsentKeysMeanRs232cNoModelAndNoFileAndA64IsModel1) {
    const auto inventory = Read("[a]\nport=/dev/ttyS0\n[b]\nport=/dev/ttyS1\nmodel=64\nfile=" +
                                dir.File("sites/a.dat") + "\n");
    ASSERT_TRUE(inventory);
    ASSERT_EQ(inventory.switchers.size(), 2u);
    EXPECT_EQ(inventory.switchers[0].nAddress, -1);
    EXPECT_EQ(inventory.switchers[0].nModel, -1);
    EXPECT_EQ(inventory.switchers[0].strFile, "");
    EXPECT_EQ(inventory.switchers[1].nModel, 1);
    EXPECT_EQ(inventory.switchers[1].strFile, dir.File("sites/a.dat"));
}

TEST_F(FleetInventoryTest, TenSwitchersOnFourPortsGroupByLineInFirstSeenOrder) {
    // Four lines: a bus of three, a bus of four (one written with a leading zero in
    // its port number and its host in capitals), a bus of two and one RS-232C switcher.
    const std::pair<const char*, const char*> rows[] = {
        {"rfc2217://10.0.4.11:2217", "05"},
        {"tcp://gw-2:4001", "01"},
        {"rfc2217://10.0.4.11:2217", "06"},
        {"/dev/ttyUSB0", "10"},
        {"tcp://GW-2:04001", "02"},
        {"tcp://lab:5000", nullptr},
        {"tcp://gw-2:4001", "03"},
        {"rfc2217://10.0.4.11:2217", "07"},
        {"/dev/ttyUSB0", "11"},
        {"tcp://gw-2:4001", "04"},
    };
    std::string text;
    for (size_t i = 0; i < std::size(rows); ++i) {
        text += "[s" + std::to_string(i) + "]\nport = " + rows[i].first + "\n";
        if (rows[i].second) text += "address = " + std::string(rows[i].second) + "\n";
    }
    const auto inventory = Read(text);
    ASSERT_TRUE(inventory) << inventory.errors[0].Message();
    std::vector<std::pair<std::string, std::string>> got;
    for (const auto& group : GroupByPort(inventory.switchers)) {
        std::string names;
        for (const auto& sw : group.switchers) names += sw.strName + " ";
        got.emplace_back(group.strPort, names);
    }
    const std::vector<std::pair<std::string, std::string>> want = {
        {"rfc2217://10.0.4.11:2217", "s0 s2 s7 "},
        {"tcp://gw-2:4001", "s1 s4 s6 s9 "},
        {"/dev/ttyUSB0", "s3 s8 "},
        {"tcp://lab:5000", "s5 "},
    };
    EXPECT_EQ(got, want);
}

TEST_F(FleetInventoryTest, ADeviceThroughALinkIsTheLineItLinksTo) {
    WriteFileText(dir.File("tty0"), "");
    ASSERT_EQ(::symlink(dir.File("tty0").c_str(), dir.File("by-id").c_str()), 0);
    EXPECT_EQ(FleetPortKey(dir.File("by-id")), FleetPortKey(dir.File("tty0")));
    EXPECT_NE(FleetPortKey("/dev/ttyUSB0"), FleetPortKey("/dev/ttyUSB1"));
    EXPECT_EQ(FleetPortKey("tcp://[::1]:0100"), "tcp://[::1]:100");
    const Faults want = {{4, "[a] (line 1) and [b] (line 4) are both on " + dir.File("tty0") +
                                 " as RS-232C switchers"}};
    EXPECT_EQ(FaultsOf("[a]\nport = " + dir.File("by-id") + "\n\n[b]\nport = " + dir.File("tty0")),
              want);
}

struct FaultCase {
    const char* what;
    std::string text;
    Faults faults;  // "@" in a text stands for the test's folder
};

std::string InFolder(std::string text, const std::string& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
        text.replace(at, 1, folder);
    }
    return text;
}

TEST_F(FleetInventoryTest, EachFaultIsNamedWithItsLine) {
    const FaultCase cases[] = {
        {"unknown key",
         "[rack-1 east]\nport = /dev/ttyUSB0\n\nadress = 05\n",
         {{4, "unknown key 'adress' in [rack-1 east]"}}},
        {"missing port", "; c\n[a]\nmodel = 32\n", {{2, "missing port in [a]"}}},
        {"empty port", "[a]\nport =\n", {{2, "port of [a]: no port given"}}},
        {"port without a number",
         "[a]\nport = tcp://gw\n",
         {{2, "port of [a]: tcp://gw: not of the form tcp://HOST:PORT"}}},
        {"port number out of range",
         "[a]\nport = rfc2217://gw:65536\n",
         {{2, "port of [a]: rfc2217://gw:65536: not of the form rfc2217://HOST:PORT"}}},
        {"unknown scheme",
         "[a]\nport = ssh://gw:22\n",
         {{2, "port of [a]: ssh://gw:22: not a device, tcp:// or rfc2217:// address"}}},
        {"relative device",
         "[a]\nport = ttyUSB0\n",
         {{2, "port of [a]: 'ttyUSB0' is not an absolute device path"}}},
        {"address 32",
         "[a]\nport=/dev/x\naddress=32\n",
         {{3, "address '32' of [a] is not two digits 00..31"}}},
        {"address of one digit",
         "[a]\nport=/dev/x\naddress=5\n",
         {{3, "address '5' of [a] is not two digits 00..31"}}},
        {"address not a number",
         "[a]\nport=/dev/x\naddress=-1\n",
         {{3, "address '-1' of [a] is not two digits 00..31"}}},
        {"model 48",
         "[a]\nport=/dev/x\nmodel = 48 ; wrong\n",
         {{3, "model '48' of [a] is not 32 or 64"}}},
        {"missing file",
         "[a]\nport=/dev/x\nfile = sites/none.dat\n",
         {{3, "file of [a]: @/sites/none.dat: " + std::string(std::strerror(ENOENT))}}},
        {"a folder as file",
         "[a]\nport=/dev/x\nfile = sites\n",
         {{3, "file of [a]: @/sites: " + std::string(std::strerror(EISDIR))}}},
        {"empty file", "[a]\nport=/dev/x\nfile =\n", {{3, "file of [a]: no path given"}}},
        {"one address twice on a port",
         "[a]\nport=tcp://gw:1\naddress=05\n[b]\nport=tcp://GW:01\naddress=05\n",
         {{4, "[a] (line 1) and [b] (line 4) are both on tcp://GW:01 at address 05"}}},
        {"two RS-232C switchers on a port",
         "[a]\nport=/dev/x\n[b]\nport=/dev/x\n",
         {{3, "[a] (line 1) and [b] (line 3) are both on /dev/x as RS-232C switchers"}}},
        {"one name twice",
         "[a]\nport=/dev/x\n[b]\nport=/dev/y\n[A]\n",
         {{5, "[A] is given twice (line 1 and line 5)"}}},
        {"RS-485 and RS-232C on one line",
         "[a]\nport=/dev/x\naddress=01\n[b]\nport=/dev/x\n",
         {{4,
           "[a] (line 1) with an address and [b] (line 4) without an address on /dev/x: "
           "RS-232C and RS-485 on one line"}}},
        {"empty inventory", "", {{0, "no switchers in the inventory"}}},
        {"only comments", "; nothing yet\n\n# really\n", {{0, "no switchers in the inventory"}}},
        {"a key given twice",
         "[a]\nport=/dev/x\nPort=/dev/y\n",
         {{3, "key 'Port' given twice in [a] (line 2 and line 3)"}}},
        {"a line that is not a key",
         "[a]\nport=/dev/x\naddress 05\n",
         {{3, "not a header, key = value or comment"}}},
        {"a key before any section",
         "port=/dev/x\n[a]\nport=/dev/y\n",
         {{1, "key 'port' outside any switcher's section"}}},
        {"a section without a name", "[ ]\nport=/dev/x\n", {{1, "a switcher without a name"}}},
    };
    for (const FaultCase& c : cases) {
        Faults want = c.faults;
        for (auto& [line, text] : want) text = InFolder(text, dir.Path());
        EXPECT_EQ(FaultsOf(c.text), want) << c.what;
        EXPECT_TRUE(Read(c.text).switchers.empty()) << c.what;
    }
}

TEST_F(FleetInventoryTest, EveryFaultIsReportedTogetherInLineOrder) {
    const std::string text =
        "[a]\n"                  // 1
        "port = tcp://gw:1\n"    // 2
        "address = 03\n"         // 3
        "[b]\n"                  // 4: same line and address as a
        "port = tcp://gw:1\n"    // 5
        "address = 03\n"         // 6
        "adress = 04\n"          // 7
        "[c]\n"                  // 8: no port
        "model = 33\n"           // 9
        "file = nowhere.dat\n"   // 10
        "[d]\n"                  // 11: fine
        "port = /dev/ttyUSB3\n"  // 12
        "file = sites/a.dat\n";  // 13
    const auto inventory = Read(text);
    EXPECT_TRUE(inventory.switchers.empty());
    std::vector<std::string> got;
    for (const auto& e : inventory.errors) got.push_back(e.Message());
    const std::string at = path + ":";
    EXPECT_EQ(got,
              (std::vector<std::string>{
                  at + "7: unknown key 'adress' in [b]",
                  at + "8: missing port in [c]",
                  at + "9: model '33' of [c] is not 32 or 64",
                  at + "10: file of [c]: " + dir.File("nowhere.dat") + ": " + std::strerror(ENOENT),
              }));
    // Once b's key is mended, the clash of a and b shows.
    const std::string mended =
        text.substr(0, text.find("adress")) + "; fixed\n" + text.substr(text.find("[c]"));
    WriteFileText(path, mended);
    std::vector<std::string> after;
    for (const auto& e : ReadFleetInventory(path).errors) after.push_back(e.Message());
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0],
              at + "4: [a] (line 1) and [b] (line 4) are both on tcp://gw:1 at address 03");
}

TEST_F(FleetInventoryTest, AnInventoryThatCannotBeReadIsOneFaultOfTheWholeFile) {
    const auto missing = ReadFleetInventory(dir.File("none.ini"));
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(missing.errors[0].Message(), dir.File("none.ini") + ": " + std::strerror(ENOENT));
    const auto folder = ReadFleetInventory(dir.File("sites"));
    ASSERT_EQ(folder.errors.size(), 1u);
    EXPECT_EQ(folder.errors[0].Message(), dir.File("sites") + ": " + std::strerror(EISDIR));
}

}  // namespace
