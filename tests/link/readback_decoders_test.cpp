#include "link/readback_decoders.h"

#include "link/reply_interpreter.h"
#include "tests/link/link_fixture.h"
#include "tests/support/file_tables.h"

namespace {

using DecoderTest = LinkTest;

std::string Pairs(int count, int first) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        int v = (first + i) % 61;
        out += static_cast<char>('0' + v / 10);
        out += static_cast<char>('0' + v % 10);
    }
    return out;
}

std::string Sources(char kind, int count) {
    std::string out;
    for (int i = 1; i <= count; ++i) {
        out += kind;
        out += static_cast<char>('0' + i / 10);
        out += static_cast<char>('0' + i % 10);
    }
    return out;
}

TEST_F(DecoderTest, SequenceTimesFillTheChannelsOfTheModel) {
    InterpretReply("AST02" + Pairs(32, 0) + "\r\n");
    EXPECT_EQ(g_nSeqTime[1][0], 0);
    EXPECT_EQ(g_nSeqTime[1][31], 31);
    EXPECT_EQ(g_nSeqTime[1][32], 3);  // beyond the 32-input model: untouched
    EXPECT_EQ(g_nSeqTime[0][0], 3);

    g_nModel = 1;
    InterpretReply("AST64" + Pairs(64, 1) + "\r\n");
    EXPECT_EQ(g_nSeqTime[63][0], 1);
    EXPECT_EQ(g_nSeqTime[63][63], 64 % 61);
}

// A copy of another model than the program's reads lines of its own width.
TEST_F(DecoderTest, LinesLandInACopyWithTheCopysChannelCount) {
    CSettingsTables copy = DefaultSettingsTables(1);
    ASSERT_EQ(g_nModel, 0);
    ASSERT_TRUE(
        DecodeDataLineInto(DataLine::kInTitleDisp, "CTI" + std::string(64, 'F') + "\r\n", copy));
    EXPECT_EQ(copy.m_nInTitleDisp[63], 0);
    EXPECT_FALSE(
        DecodeDataLineInto(DataLine::kInTitleDisp, "CTI" + std::string(32, 'F') + "\r\n", copy));
    ASSERT_TRUE(DecodeDataLineInto(DataLine::kSeqPattern, "AST01" + Pairs(64, 1) + "\r\n", copy));
    EXPECT_EQ(copy.m_nSeqTime[0][63], 64 % 61);
    EXPECT_EQ(g_settings, DefaultSettingsTables(0));  // the program's settings untouched
}

TEST_F(DecoderTest, FlagTablesFollowTheModelAndTheirZeroCharacter) {
    std::string flags32 = "F" + std::string(30, 'N') + "F";
    InterpretReply("CTI" + flags32 + "\r\n");
    EXPECT_EQ(g_nInTitleDisp[0], 0);
    EXPECT_EQ(g_nInTitleDisp[1], 1);
    EXPECT_EQ(g_nInTitleDisp[31], 0);
    EXPECT_EQ(g_nInTitleDisp[32], 1);

    g_nModel = 1;
    InterpretReply("CTI" + std::string(64, 'F') + "\r\n");
    EXPECT_EQ(g_nInTitleDisp[63], 0);
    InterpretReply("CPI" + std::string(63, 'B') + "T\r\n");
    EXPECT_EQ(g_nTitlePosition[0], 1);
    EXPECT_EQ(g_nTitlePosition[63], 0);
    InterpretReply("TSI" + std::string(64, 'F') + "\r\n");
    EXPECT_EQ(g_nInCalendarDisp[40], 0);
    InterpretReply("TSO" + std::string(31, 'x') + "F\r\n");  // any other character is ON
    EXPECT_EQ(g_nOutCalendarDisp[0], 1);
    EXPECT_EQ(g_nOutCalendarDisp[31], 0);
    InterpretReply("CTO" + std::string(32, 'T') + "\r\n");  // 'T' means OFF only for positions
    EXPECT_EQ(g_nOutTitleDisp[5], 1);
}

TEST_F(DecoderTest, OutputFieldsReadInputsAndPatternsByModel) {
    std::string fields = "I05A05" + Sources('I', 30).substr(6) + "I31I32";
    ASSERT_EQ(fields.size(), 96u);
    InterpretReply("OT" + fields + "\r\n");
    EXPECT_EQ(g_nPattern[0][0], 4);
    EXPECT_EQ(g_nPattern[0][1], 36);
    EXPECT_EQ(g_nPattern[0][31], 31);

    g_nModel = 1;
    InterpretReply("TP07" + fields + "\r\n");
    EXPECT_EQ(g_nPattern[7][0], 4);
    EXPECT_EQ(g_nPattern[7][1], 68);
    EXPECT_EQ(g_nPattern[6][1], 1);  // row pp itself, not pp - 1
}

// Every kind of data line reaches its own table (defaults: times 3, every
// switch 1, identity rows, memory 0, format 0, no titles).
TEST_F(DecoderTest, EachKindOfDataLineLandsInItsOwnTable) {
    struct Landing {
        std::string line;
        const int* pCell;
        int value;
    };
    const std::string offFirst = "F" + std::string(31, 'N');
    const Landing landings[] = {
        {"AST05" + Pairs(32, 10), &g_nSeqTime[4][0], 10},
        {"CPIT" + std::string(31, 'B'), &g_nTitlePosition[0], 0},
        {"CTI" + offFirst, &g_nInTitleDisp[0], 0},
        {"CTO" + offFirst, &g_nOutTitleDisp[0], 0},
        {"OTP10", &g_nCurMemory, 10},
        {"OTI11" + Sources('I', 32).substr(3), &g_nPattern[0][0], 10},
        {"TP03I11" + Sources('I', 32).substr(3), &g_nPattern[3][0], 10},
        {"TSI" + offFirst, &g_nInCalendarDisp[0], 0},
        {"TSO" + offFirst, &g_nOutCalendarDisp[0], 0},
        {"TSDD", &g_nDateFormat, 2},
    };
    for (const Landing& landing : landings) {
        InterpretReply(landing.line + "\r\n");
        EXPECT_EQ(*landing.pCell, landing.value) << landing.line;
    }
    std::string spaces;
    for (int i = 0; i < 14; ++i) spaces += "2121";
    InterpretReply("CA0224222422" + spaces + "\r\n");
    EXPECT_EQ(g_strTitle[1], "\x82\xa0\x82\xa0");
}

// Each malformed line must leave the whole model as it was and show nothing.
TEST_F(DecoderTest, MalformedLinesChangeNothing) {
    const std::string spaces64 = [] {
        std::string s;
        for (int i = 0; i < 16; ++i) s += "2121";
        return s;
    }();
    const std::string lines[] = {
        "AST00" + Pairs(32, 0) + "\r\n",           // pattern 00
        "AST65" + Pairs(32, 0) + "\r\n",           // pattern 65
        "ASTx1" + Pairs(32, 0) + "\r\n",           // not digits
        "AST01" + Pairs(31, 0) + "\r\n",           // one time short
        "AST01" + Pairs(31, 0) + "0a\r\n",         // a time that is not digits
        "AST01" + Pairs(31, 0) + "61\r\n",         // a time beyond 60
        "CA00" + spaces64 + "\r\n",                // channel 00
        "CA33" + spaces64 + "\r\n",                // channel 33 on the 32-input model
        "CA01" + spaces64.substr(4) + "\r\n",      // fifteen codes
        "CA01" + spaces64.substr(4) + "242a\r\n",  // lower-case hex
        "CTI" + std::string(31, 'F') + "\r\n",     // short
        "CPI" + std::string(31, 'T') + "\r\n",     // short
        "TSO" + std::string(31, 'F') + "\r\n",     // short
        "OTP65\r\n",                               // row 65
        "OTP7\r\n",                                // one digit
        "OT" + Sources('I', 31) + "\r\n",          // 31 fields
        "OT" + Sources('I', 31) + "I33\r\n",       // input 33 on the 32-input model
        "OT" + Sources('I', 31) + "A65\r\n",       // pattern 65
        "OT" + Sources('I', 31) + "I00\r\n",       // input 00
        "TP00" + Sources('I', 32) + "\r\n",        // row 0 is not a memory
        "TP65" + Sources('I', 32) + "\r\n",        // memory 65
        "TPx1" + Sources('I', 32) + "\r\n",        // not digits
        "TSD\r\n",                                 // no letter
    };
    const auto tables = FileTables(g_settings);
    const auto row0 = g_nPattern[0];
    const int memory = g_nCurMemory;
    for (const auto& line : lines) {
        InterpretReply(line);
        EXPECT_EQ(FileTables(g_settings), tables) << line;
        EXPECT_EQ(g_nPattern[0], row0) << line;
        EXPECT_EQ(g_nCurMemory, memory) << line;
        EXPECT_EQ(g_bErrorReply, 0) << line;
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(DecoderTest, DecodersReportWhetherTheyChangedTheModel) {
    EXPECT_TRUE(DecodeCurMemory("OTP00\r\n"));
    EXPECT_FALSE(DecodeCurMemory("OTP\r\n"));
    EXPECT_TRUE(DecodeDateFormat("TSDY\r\n"));
    EXPECT_FALSE(DecodeOutTitleDisp("CTO\r\n"));
}

}  // namespace
