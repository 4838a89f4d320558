#include "server/unit_blocks.h"

#include <gtest/gtest.h>

#include "model/settings_tables.h"

namespace {

struct CUnitFixture {
    CSettingsTables tables = DefaultSettingsTables(0);
    CServedUnit unit;
    CUnitFixture() {
        unit.pTables = &tables;
        for (int o = 0; o < kOutputs; ++o) unit.outputLabels[o] = DefaultOutputLabel(o);
    }
};

}  // namespace

TEST(UnitBlocksTest, PatternsArePseudoInputsAfterTheRealOnesWhateverTheModel) {
    for (int model : {0, 1}) {
        CUnitFixture f;
        f.tables = DefaultSettingsTables(model);
        const int s = 32 * (model + 1);
        f.tables.m_strTitle[0] = "\x96\x7b\x8e\xd0";  // 本社
        f.tables.m_nPattern[kDirectRow][0] = s;       // A01
        f.tables.m_nPattern[kDirectRow][1] = s + 63;  // A64
        f.tables.m_nPattern[kDirectRow][2] = s + 64;  // no such source
        f.tables.m_nPattern[kDirectRow][3] = -1;
        EXPECT_EQ(ServedInputs(f.unit), s + 64);
        EXPECT_EQ(InputLabel(f.tables, 0), "本社");
        EXPECT_EQ(InputLabel(f.tables, 1), "");
        EXPECT_EQ(InputLabel(f.tables, s), "A01");
        EXPECT_EQ(InputLabel(f.tables, s + 63), "A64");
        const auto routes = RoutingItems(f.unit);
        ASSERT_EQ(routes.size(), 30u) << "outputs 3 and 4 show no input";
        EXPECT_EQ(routes[0], NumberedItem(0, std::to_string(s)));
        EXPECT_EQ(routes[1], NumberedItem(1, std::to_string(s + 63)));
        EXPECT_EQ(routes[2], NumberedItem(4, "4"));
    }
}

TEST(UnitBlocksTest, EachClientSeesItsOwnLocksAsOwnedAndOthersAsLocked) {
    CUnitFixture f;
    f.unit.lockOwner[0] = 7;
    f.unit.lockOwner[1] = kLockedByNobody;
    EXPECT_EQ(LockState(f.unit, 0, 7), "O");
    EXPECT_EQ(LockState(f.unit, 0, 8), "L");
    EXPECT_EQ(LockState(f.unit, 1, 7), "L");
    EXPECT_EQ(LockState(f.unit, 2, 7), "U");
}

TEST(UnitBlocksTest, AnAbsentDeviceGetsThePreambleAndItsBlockAlone) {
    CUnitFixture f;
    const CUnitIdentity identity{"Rack", "0123456789AB"};
    EXPECT_EQ(OpeningDump(f.unit, false, identity, 1),
              "PROTOCOL PREAMBLE:\nVersion: 2.8\n\nVIDEOHUB DEVICE:\nDevice present: false\n\n"
              "END PRELUDE:\n\n");
    const std::string present = OpeningDump(f.unit, true, identity, 1);
    for (const char* block :
         {"INPUT LABELS:\n0 \n", "OUTPUT LABELS:\n0 out01\n", "VIDEO OUTPUT LOCKS:\n0 U\n",
          "VIDEO OUTPUT ROUTING:\n0 0\n1 1\n", "Video inputs: 96\n", "\n\nEND PRELUDE:\n\n"}) {
        EXPECT_NE(present.find(block), std::string::npos) << block;
    }
}
