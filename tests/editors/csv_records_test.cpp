// Reading comma-separated text as spreadsheets write it, and quoting fields.
#include "editors/csv_records.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> FieldsOf(const CCsvText& csv) {
    std::vector<Fields> rows;
    for (const auto& record : csv.records) rows.push_back(record.fields);
    return rows;
}

TEST(CsvRecordsTest, QuotedFieldsHoldSeparatorsQuotesAndLineEnds) {
    const CCsvText csv = ReadCsv(
        "a,b\r\n"
        "\"x,y\",\"say \"\"hi\"\"\"\r\n"
        "\"two\r\nlines\",\"\"\n"
        "plain \"quote\",\"joined\"tail\n");
    EXPECT_EQ(csv.separator, ',');
    EXPECT_EQ(FieldsOf(csv), (std::vector<Fields>{{"a", "b"},
                                                  {"x,y", "say \"hi\""},
                                                  {"two\r\nlines", ""},
                                                  {"plain \"quote\"", "joinedtail"}}));
    // A record of two lines is one row: the next row's number follows it.
    EXPECT_EQ(csv.records[3].nRow, 4);
}

TEST(CsvRecordsTest, LineEndsOfEveryKindAndTheLastLineWithoutOne) {
    for (const char* text : {"h\r\n1\r\n2\r\n", "h\n1\n2\n", "h\r1\r2\r", "h\n1\r\n2"}) {
        EXPECT_EQ(FieldsOf(ReadCsv(text)), (std::vector<Fields>{{"h"}, {"1"}, {"2"}})) << text;
    }
    // Blank lines are rows of one empty field, and count.
    const CCsvText csv = ReadCsv("h\n\n3\n");
    ASSERT_EQ(csv.records.size(), 3u);
    EXPECT_EQ(csv.records[1].fields, Fields{""});
    EXPECT_EQ(csv.records[2].nRow, 3);
}

TEST(CsvRecordsTest, TheFirstRowTellsTheSeparator) {
    const CCsvText semicolons = ReadCsv(
        "\xEF\xBB\xBF"
        "channel;title\n01;\"a;b\",c\n");
    EXPECT_EQ(semicolons.separator, ';');
    EXPECT_EQ(FieldsOf(semicolons),
              (std::vector<Fields>{{"channel", "title"}, {"01", "a;b,c"}}));  // BOM gone
    // A semicolon inside quotes, or beside a comma, leaves the comma.
    EXPECT_EQ(ReadCsv("\"a;b\",c\n").separator, ',');
    EXPECT_EQ(ReadCsv("a;b,c\n").separator, ',');
    EXPECT_EQ(ReadCsv("").records.size(), 0u);
}

TEST(CsvRecordsTest, AQuoteThatNeverClosesIsTold) {
    const CCsvText csv = ReadCsv("h,t\n01,\"open\n02,x\n");
    ASSERT_EQ(csv.records.size(), 2u);
    EXPECT_TRUE(csv.records[1].bUnclosedQuote);
    EXPECT_EQ(csv.records[1].fields, (Fields{"01", "open\n02,x\n"}));
    EXPECT_FALSE(csv.records[0].bUnclosedQuote);
}

TEST(CsvRecordsTest, FieldsAreQuotedOnlyWhenTheyMustBeAndReadBack) {
    EXPECT_EQ(CsvField("本社"), "本社");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("a;b"), "a;b");
    EXPECT_EQ(CsvField("a;b", ';'), "\"a;b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField(" "), "\" \"");
    const Fields tricky = {"a,b", "\"", "x\r\ny", " lead", "", "\"\""};
    std::string text;
    for (const auto& field : tricky) text += (text.empty() ? "" : ",") + CsvField(field);
    EXPECT_EQ(FieldsOf(ReadCsv(text + "\r\n")), std::vector<Fields>{tricky});
}

}  // namespace
