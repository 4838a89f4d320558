// The read commands: the data lines of a fresh switcher, and set-then-read
// round trips on both models.
#include <gtest/gtest.h>

#include "sim/virtual_switcher.h"
#include "tests/sim/switcher_lines.h"

namespace {

class ReadCommandsTest : public ::testing::TestWithParam<int> {
protected:
    int Inputs() const { return GetParam() ? 64 : 32; }
    CVirtualSwitcher sw{{.nModel = GetParam()}};
};

INSTANTIATE_TEST_SUITE_P(BothModels, ReadCommandsTest, ::testing::Values(0, 1));

TEST_P(ReadCommandsTest, AFreshSwitcherHoldsTheDefaults) {
    const int n = Inputs();
    EXPECT_EQ(sw.Answer("RAST64\r\n"), Crlf("AST64" + Repeat("03", n)));
    EXPECT_EQ(sw.Answer("RTP64\r\n"), Crlf("TP64" + IdentitySources()));
    EXPECT_EQ(sw.Answer("ROT\r\n"), Crlf("OT" + IdentitySources()));
    EXPECT_EQ(sw.Answer("ROTP\r\n"), "OTP00\r\n");
    EXPECT_EQ(sw.Answer("RCPI\r\n"), Crlf("CPI" + Repeat("B", n)));
    EXPECT_EQ(sw.Answer("RCTI\r\n"), Crlf("CTI" + Repeat("N", n)));
    EXPECT_EQ(sw.Answer("RTSI\r\n"), Crlf("TSI" + Repeat("N", n)));
    EXPECT_EQ(sw.Answer("RCTO\r\n"), Crlf("CTO" + Repeat("N", 32)));
    EXPECT_EQ(sw.Answer("RTSO\r\n"), Crlf("TSO" + Repeat("N", 32)));
    EXPECT_EQ(sw.Answer("RTSD\r\n"), "TSDY\r\n");
    EXPECT_EQ(sw.Answer(Crlf("RCA" + std::to_string(n))),
              Crlf("CA" + std::to_string(n) + Repeat("2121", 16)));
}

TEST_P(ReadCommandsTest, WhatIsSetReadsBackAsTheSameLine) {
    const int n = Inputs();
    const std::string half = Repeat("F", n / 2);
    struct CRoundTrip {
        std::string set;
        std::string read;
    };
    const CRoundTrip trips[] = {
        {"AST07" + Repeat("00", n - 1) + "60", "RAST07"},
        {"TP12" + Repeat("A64", 16) + Repeat("I09", 16), "RTP12"},
        {"OT" + Repeat("A01", 31) + (n == 64 ? "I64" : "I32"), "ROT"},
        {"CA09" + std::string("2422212124224F53") + Repeat("2121", 12), "RCA09"},
        {"CPI" + Repeat("T", n / 2) + Repeat("B", n / 2), "RCPI"},
        {"CTI" + half + Repeat("N", n / 2), "RCTI"},
        {"TSI" + Repeat("N", n / 2) + half, "RTSI"},
        {"CTO" + Repeat("FN", 16), "RCTO"},
        {"TSO" + Repeat("NF", 16), "RTSO"},
        {"TSDM", "RTSD"},
        {"TSDD", "RTSD"},
    };
    for (const auto& trip : trips) {
        ASSERT_EQ(sw.Answer(Crlf(trip.set)), kGo) << trip.set;
        EXPECT_EQ(sw.Answer(Crlf(trip.read)), Crlf(trip.set)) << trip.read;
    }
}

TEST(ReadCommands, RecallIsReadAsTheCurrentMemoryAndItsRow) {
    CVirtualSwitcher sw;
    const std::string row = Repeat("A05", 32);
    ASSERT_EQ(sw.Answer(Crlf("TP07" + row)), kGo);
    ASSERT_EQ(sw.Answer("OTP07\r\n"), kGo);
    EXPECT_EQ(sw.Answer("ROTP\r\n"), "OTP07\r\n");
    EXPECT_EQ(sw.Answer("ROT\r\n"), Crlf("OT" + row));
}

TEST(ReadCommands, AStoredTitleIsReadAsItsJisCodes) {
    CVirtualSwitcher sw;
    CSwitcherState state = sw.State();
    state.m_tables.m_strTitle[0] = "\x88\x9f\x82\xa0";  // 亜あ
    state.m_tables.m_strTitle[1] =
        "\x82\xa0"
        "AB";  // a half-width pair ends the title
    sw.SetState(state);
    EXPECT_EQ(sw.Answer("RCA01\r\n"), Crlf("CA0130212422" + Repeat("2121", 14)));
    EXPECT_EQ(sw.Answer("RCA02\r\n"), Crlf("CA022422" + Repeat("2121", 15)));
}

TEST(Rs485, OnlyItsOwnAddressIsAnsweredWithTheAddressInFront) {
    CVirtualSwitcher sw({.bRs485 = true, .nAddress = 5});
    EXPECT_EQ(sw.Answer("05RTSD\r\n"), "05TSDY\r\n");
    EXPECT_EQ(sw.Answer("05TSDM\r\n"), "05GO\r\n");
    EXPECT_EQ(sw.Answer("05XYZ\r\n"), "05E3\r\n");
    EXPECT_EQ(sw.Answer("05\r\n"), "05E3\r\n");
    EXPECT_EQ(sw.Answer("06TSDY\r\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("RTSD\r\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("5\r\n"), std::nullopt);
    EXPECT_EQ(sw.State().m_tables.m_nDateFormat, 1);  // the line for 06 was not applied
    EXPECT_EQ(sw.Framed("MENU"), "05MENU\r\n");
}

TEST(Rs485, NewSlaveAddressTakesEffectAfterTheReply) {
    CVirtualSwitcher sw({.bRs485 = true, .nAddress = 0});
    EXPECT_EQ(sw.Answer("00SA31\r\n"), "00GO\r\n");
    EXPECT_EQ(sw.Answer("00RTSD\r\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("31RTSD\r\n"), "31TSDY\r\n");
    EXPECT_EQ(sw.Answer("31SA32\r\n"), "31E3\r\n");
    EXPECT_EQ(sw.Address(), 31);
}

TEST(Rs485, AnySlaveAddressIsAnsweredUnderTheAddressCalled) {
    CVirtualSwitcher sw({.bRs485 = true, .nAddress = 0, .bAnyAddress = true});
    EXPECT_EQ(sw.Answer("00TSDM\r\n"), "00GO\r\n");
    EXPECT_EQ(sw.Answer("17RTSD\r\n"), "17TSDM\r\n");
    EXPECT_EQ(sw.Answer("31XYZ\r\n"), "31E3\r\n");
    EXPECT_EQ(sw.Framed("E1", "09RTSD\r\n"), "09E1\r\n");
    EXPECT_EQ(sw.Answer("32RTSD\r\n"), std::nullopt);  // beyond the bus's addresses
    EXPECT_EQ(sw.Answer("AXRTSD\r\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("RTSD\r\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("12SA05\r\n"), "12GO\r\n");
    EXPECT_EQ(sw.Address(), 5);
    EXPECT_EQ(sw.Answer("12RTSD\r\n"), "12TSDM\r\n");
}

TEST(Reconfigure, TheSameSwitcherSpeaksTheOtherInterfaceAndModel) {
    CVirtualSwitcher sw({.nModel = 0});
    ASSERT_EQ(sw.Answer("TSDM\r\n"), kGo);
    sw.Reconfigure(1, true, false);
    EXPECT_EQ(sw.Answer("TSDY\r\n"), std::nullopt);    // no address: not for a bus switcher
    EXPECT_EQ(sw.Answer("00RTSD\r\n"), "00TSDM\r\n");  // its address and date format stayed
    EXPECT_EQ(sw.Answer("01RTSD\r\n"), std::nullopt);
    EXPECT_EQ(sw.State().Inputs(), 64);
    EXPECT_EQ(sw.Answer("00AST01" + Repeat("05", 64) + "\r\n"), "00GO\r\n");

    sw.Reconfigure(0, false, false);
    EXPECT_EQ(sw.Answer("AST01" + Repeat("05", 64) + "\r\n"), kE3);  // 32 inputs again
    EXPECT_EQ(sw.Answer("AST01" + Repeat("05", 32) + "\r\n"), kGo);
    EXPECT_EQ(sw.State().m_tables.m_nSeqTime[0][40], 5);  // set while it had 64
}

}  // namespace
