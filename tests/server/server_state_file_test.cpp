#include "server/server_state_file.h"

#include <gtest/gtest.h>

#include "model/file_io.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<CServedUnit> Units(std::initializer_list<int> addresses) {
    std::vector<CServedUnit> units;
    for (int address : addresses) {
        CServedUnit unit;
        unit.nAddress = address;
        for (int o = 0; o < kOutputs; ++o) unit.outputLabels[o] = DefaultOutputLabel(o);
        units.push_back(unit);
    }
    return units;
}

std::vector<int> Ports(const std::vector<CServedUnit>& units) {
    std::vector<int> ports;
    for (const auto& unit : units) ports.push_back(unit.nPort);
    return ports;
}

}  // namespace

TEST(ServerStateFileTest, EachUnitKeepsItsPortWhateverUnitsComeAndGo) {
    CTempDir dir;
    const std::string path = dir.File("serve.state");
    auto first = Units({5, 6});
    ASSERT_TRUE(LoadServerState(path, 9990, first));
    EXPECT_EQ(Ports(first), (std::vector<int>{9990, 9991}));

    // Unit 03 joins in front while 05 is left out: 06 keeps 9991, 05's port
    // stays reserved for it, and the newcomer takes the lowest port nobody has.
    auto second = Units({3, 6});
    ASSERT_TRUE(LoadServerState(path, 9990, second));
    EXPECT_EQ(Ports(second), (std::vector<int>{9992, 9991}));
    auto third = Units({5, 6, 3});
    ASSERT_TRUE(LoadServerState(path, 9990, third));
    EXPECT_EQ(Ports(third), (std::vector<int>{9990, 9991, 9992}));
}

// The program serves one switcher on the profile's port: another address
// takes that port over from the unit the file kept it for.
TEST(ServerStateFileTest, APortGivenWinsOverOneKeptForAnotherUnit) {
    CTempDir dir;
    const std::string path = dir.File("program.state");
    auto direct = Units({-1});
    direct[0].nPort = 9990;
    ASSERT_TRUE(LoadServerState(path, 9990, direct));
    auto bus = Units({5});
    bus[0].nPort = 9990;
    ASSERT_TRUE(LoadServerState(path, 9990, bus));
    EXPECT_EQ(Ports(bus), (std::vector<int>{9990}));
    auto given = Units({6});
    ASSERT_TRUE(LoadServerState(path, 9990, given));
    EXPECT_EQ(Ports(given), (std::vector<int>{9991}));  // one given none still avoids it
}

TEST(ServerStateFileTest, AnotherBasePortGivesThePortsAfresh) {
    CTempDir dir;
    const std::string path = dir.File("serve.state");
    auto units = Units({5, 6});
    ASSERT_TRUE(LoadServerState(path, 9990, units));
    auto moved = Units({5, 6});
    ASSERT_TRUE(LoadServerState(path, 10990, moved));
    EXPECT_EQ(Ports(moved), (std::vector<int>{10990, 10991}));
}

TEST(ServerStateFileTest, LabelsAndLocksComeBackAndALockHasNoOwnerAfterARestart) {
    CTempDir dir;
    const std::string path = dir.File("serve.state");
    auto units = Units({-1});
    ASSERT_TRUE(LoadServerState(path, 9990, units));
    units[0].outputLabels[0] = "Main ; monitor";  // a profile comment mark inside
    units[0].outputLabels[31] = "本社 モニタ";
    units[0].outputLabels[4] = "";
    units[0].lockOwner[2] = 7;
    units[0].lockOwner[31] = kLockedByNobody;
    ASSERT_TRUE(SaveServerState(path, 9990, units));

    auto again = Units({-1});
    ASSERT_TRUE(LoadServerState(path, 9990, again));
    EXPECT_EQ(again[0].outputLabels, units[0].outputLabels);
    for (int o = 0; o < kOutputs; ++o) {
        const bool locked = o == 2 || o == 31;
        EXPECT_EQ(again[0].lockOwner[o], locked ? kLockedByNobody : 0ul) << o;
    }
    EXPECT_EQ(again[0].nPort, 9990);
}

TEST(ServerStateFileTest, AFileThatCannotBeReadIsSaidAndThePortsAreStillGiven) {
    CTempDir dir;
    auto units = Units({5});
    std::string reason;
    EXPECT_FALSE(LoadServerState(dir.Path(), 9990, units, &reason));  // a folder
    EXPECT_NE(reason.find(dir.Path()), std::string::npos) << reason;
    EXPECT_EQ(units[0].nPort, 9990);
}
