// Telling the model from the answer to RCPI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/switcher_model.h"

namespace {

std::string Flags(int count, char c = 'B') {
    return std::string(static_cast<size_t>(count), c);
}

TEST(SwitcherModel, TheProbeIsTheTitlePositionRead) {
    EXPECT_EQ(ModelProbeCommand(), "RCPI\r\n");
}

TEST(SwitcherModel, ThirtyTwoFlagsAre32InputsAndSixtyFourAre64) {
    EXPECT_EQ(ModelOfTitlePositionData("CPI" + Flags(32)), 0);
    EXPECT_EQ(ModelOfTitlePositionData("CPI" + Flags(64)), 1);
    EXPECT_EQ(ModelOfTitlePositionData("CPI" + Flags(20, 'T') + Flags(44)), 1);
    EXPECT_STREQ(ModelName(0), "Qelvar-32");
    EXPECT_STREQ(ModelName(1), "Qelvar-64");
}

TEST(SwitcherModel, AnyOtherAnswerTellsNothing) {
    for (const std::string& body :
         std::vector<std::string>{"CPI" + Flags(31), "CPI" + Flags(33), "CPI" + Flags(63),
                                  "CPI" + Flags(65), std::string("CPI"), "CTI" + Flags(32, 'N'),
                                  "CPI" + Flags(31) + "N", "GO", "E3", "MENU", std::string()}) {
        EXPECT_EQ(ModelOfTitlePositionData(body), std::nullopt) << body;
    }
}

}  // namespace
