#include "protocol/fields.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldsTest, TwoDigitFieldsBothWays) {
    const std::pair<int, const char*> written[] = {{0, "00"},  {7, "07"},   {64, "64"},
                                                   {99, "99"}, {100, "00"}, {-1, "99"}};
    for (auto [value, text] : written) EXPECT_EQ(TwoDigits(value), text) << value;
    EXPECT_EQ(TwoDigitValue('0', '9'), 9);
    EXPECT_EQ(TwoDigitValue('9', '0'), 90);
    for (auto [tens, units] : {std::pair{' ', '5'}, {'5', ' '}, {'/', '0'}, {'0', ':'}}) {
        EXPECT_EQ(TwoDigitValue(tens, units), std::nullopt) << tens << units;
    }
    EXPECT_EQ(NumberField("TP05", 2, 1, 64), 5);
    EXPECT_EQ(NumberField("TP00", 2, 1, 64), std::nullopt);
    EXPECT_EQ(NumberField("TP0", 2, 0, 64), std::nullopt);  // past the end
}

TEST(FieldsTest, HexPairsAreUpperCaseOnly) {
    EXPECT_EQ(HexByteValue('2', '4'), 0x24);
    EXPECT_EQ(HexByteValue('F', 'F'), 0xFF);
    EXPECT_EQ(HexByteValue('a', '0'), std::nullopt);
    EXPECT_EQ(HexByteValue('G', '0'), std::nullopt);
    EXPECT_EQ(HexByteValue(':', '0'), std::nullopt);  // the character after '9'
    EXPECT_EQ(HexCodeAt("CA012422", 4), 0x2422);
    EXPECT_EQ(HexCodeAt("CA01242", 4), std::nullopt);
    std::string hex;
    AppendHex4(hex, 0x7E0A);
    EXPECT_EQ(hex, "7E0A");
}

// A source field under both rules, for both models; -1 = refused.
struct CSourceCase {
    const char* field;
    int nInputs;
    int strict;
    int lenient;
};

TEST(FieldsTest, SourceFieldsByRuleAndModel) {
    const CSourceCase cases[] = {
        {"I01", 32, 0, 0},   {"I32", 32, 31, 31}, {"I33", 32, -1, -1}, {"I33", 64, 32, 32},
        {"I64", 64, 63, 63}, {"A01", 32, 32, 32}, {"A01", 64, 64, 64}, {"A64", 64, 127, 127},
        {"A65", 32, -1, -1}, {"I00", 32, -1, -1}, {"A00", 32, -1, -1}, {"B05", 32, -1, 36},
        {"i05", 64, -1, 68}, {"I5x", 32, -1, -1}, {"I0", 32, -1, -1},
    };
    for (const CSourceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " of " << c.nInputs);
        EXPECT_EQ(SourceField(c.field, 0, c.nInputs, FieldRule::kStrict).value_or(-1), c.strict);
        EXPECT_EQ(SourceField(c.field, 0, c.nInputs, FieldRule::kLenient).value_or(-1), c.lenient);
        if (c.strict >= 0) {
            EXPECT_EQ(SourceCodeText(c.strict, c.nInputs), c.field);
        }
    }
}

TEST(FieldsTest, FlagsAndLayoutLengthByRule) {
    EXPECT_EQ(FlagValue('F', 'F', 'N', FieldRule::kStrict), 0);
    EXPECT_EQ(FlagValue('N', 'F', 'N', FieldRule::kStrict), 1);
    EXPECT_EQ(FlagValue('T', 'F', 'N', FieldRule::kStrict), std::nullopt);
    EXPECT_EQ(FlagValue('T', 'F', 'N', FieldRule::kLenient), 1);
    EXPECT_EQ(FlagValue('T', 'T', 'B', FieldRule::kLenient), 0);

    EXPECT_TRUE(FitsLayout("TSDY", 4, FieldRule::kStrict));
    EXPECT_FALSE(FitsLayout("TSDYY", 4, FieldRule::kStrict));
    EXPECT_TRUE(FitsLayout("TSDYY", 4, FieldRule::kLenient));
    EXPECT_FALSE(FitsLayout("TSD", 4, FieldRule::kLenient));

    for (const char* line : {"GO\r\n", "GO\n", "GO\r", "GO"}) EXPECT_EQ(LineBody(line), "GO");
    EXPECT_EQ(LineBody("GO\r\r\n"), "GO\r");
}

}  // namespace
