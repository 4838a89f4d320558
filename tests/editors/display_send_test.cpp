#include "editors/display_send.h"

#include "tests/editors/editors_fixture.h"

namespace {

using DisplaySwitchWireTest = WireTest;
QELVAR_WIRE_SUITE(DisplaySwitchWireTest);

void SendAllFive() {
    SendInTitleDisp();
    SendOutTitleDisp();
    SendTitlePositions();
    SendInCalendarDisp();
    SendOutCalendarDisp();
}

TEST_P(DisplaySwitchWireTest, DefaultsInputsByModelOutputsAlways32) {
    SendAllFive();
    const int n = Inputs();
    const std::string on(n, 'N');
    EXPECT_EQ(lines, FramedLines({"CTI" + on + "\r\n", "CTO" + std::string(32, 'N') + "\r\n",
                                  "CPI" + std::string(n, 'B') + "\r\n", "TSI" + on + "\r\n",
                                  "TSO" + std::string(32, 'N') + "\r\n"}));
    const size_t prefix = GetParam().bRs485 ? 2 : 0;
    EXPECT_EQ(lines[0].size() - prefix, n == 32 ? 37u : 69u);
    EXPECT_EQ(lines[1].size() - prefix, 37u);
}

TEST_P(DisplaySwitchWireTest, ZeroIsTheOffCharacterAnyOtherValueTheOnOne) {
    const int n = Inputs();
    for (InputTable* table : {&g_nInTitleDisp, &g_nTitlePosition, &g_nInCalendarDisp}) {
        table->fill(0);  // entries past the model's count must not show
        std::fill(table->begin() + 1, table->begin() + n - 1, 1);
        (*table)[1] = 5;
    }
    for (OutputTable* table : {&g_nOutTitleDisp, &g_nOutCalendarDisp}) {
        table->fill(1);
        (*table)[31] = 0;
    }
    SendAllFive();
    const std::string onOff = std::string(31, 'N') + "F";
    EXPECT_EQ(lines,
              FramedLines({"CTIF" + std::string(n - 2, 'N') + "F\r\n", "CTO" + onOff + "\r\n",
                           "CPIT" + std::string(n - 2, 'B') + "T\r\n",
                           "TSIF" + std::string(n - 2, 'N') + "F\r\n", "TSO" + onOff + "\r\n"}));
}

}  // namespace
