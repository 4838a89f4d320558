#include "editors/slave_address_send.h"

#include "tests/editors/editors_fixture.h"

namespace {

using SlaveAddressTest = EditorsTest;

TEST_F(SlaveAddressTest, PrefixIsTheCurrentAddressWhichTheCommandLeavesAlone) {
    g_bRs485 = 1;
    SendSlaveAddress(31);
    g_nSlaveAddress = 3;
    SendSlaveAddress(5);
    g_bRs485 = 0;
    SendSlaveAddress(0);
    EXPECT_EQ(lines, (std::vector<std::string>{"00SA31\r\n", "03SA05\r\n", "SA00\r\n"}));
    EXPECT_EQ(g_nSlaveAddress, 3);
}

TEST_F(SlaveAddressTest, AnAddressNoSwitcherCanTakeIsNotSent) {
    SendSlaveAddress(32);
    SendSlaveAddress(-1);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
