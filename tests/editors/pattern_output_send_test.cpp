#include "editors/pattern_output_send.h"

#include "tests/editors/editors_fixture.h"

namespace {

std::string IdentityCodes() {
    std::string codes;
    for (int out = 1; out <= kOutputs; ++out)
        codes += (out < 10 ? "I0" : "I") + std::to_string(out);
    return codes;
}

using PatternOutputWireTest = WireTest;
QELVAR_WIRE_SUITE(PatternOutputWireTest);

TEST_P(PatternOutputWireTest, DefaultRowsAndRecall) {
    SendOutputs();
    SendMemoryPattern(5);
    SendMemoryRecall(12);
    EXPECT_EQ(lines, FramedLines({"OT" + IdentityCodes() + "\r\n",
                                  "TP05" + IdentityCodes() + "\r\n", "OTP12\r\n"}));
    const size_t prefix = GetParam().bRs485 ? 2 : 0;
    EXPECT_EQ(lines[0].size() - prefix, 100u);
    EXPECT_EQ(lines[1].size() - prefix, 102u);
}

TEST_P(PatternOutputWireTest, CodesAreReadWithTheModelInForce) {
    OutputRow& row = g_nPattern[64];
    row[0] = 32;
    row[31] = Inputs() + 63;  // the last pattern
    SendMemoryPattern(64);
    const std::string first = Inputs() == 32 ? "A01" : "I33";
    const std::string middle = IdentityCodes().substr(3, 30 * 3);
    EXPECT_EQ(lines, FramedLines({"TP64" + first + middle + "A64\r\n"}));
}

TEST_P(PatternOutputWireTest, NumbersOutsideTheMemoriesSendNothing) {
    for (int memory : {-1, 0, 65}) {
        SendMemoryPattern(memory);
        SendMemoryRecall(memory);
    }
    EXPECT_TRUE(lines.empty());
}

}  // namespace
