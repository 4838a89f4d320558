#include "model/settings_diff.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/settings_diff_text.h"

namespace {

const char kHonsha[] = "\x96\x7b\x8e\xd0";  // 本社
const char kShisha[] = "\x8e\x78\x8e\xd0";  // 支社
const char kSpace[] = "\x81\x40";           // ideographic space

using Diffs = std::vector<CSettingsDifference>;

struct CChange {
    const char* name;
    std::function<void(CSettingsTables&)> change;
    CSettingsDifference expected;
};

TEST(SettingsDiffTest, OneChangeInEachTableGivesExactlyThatDifference) {
    using T = SettingsTable;
    const CChange changes[] = {
        {"seq time", [](auto& t) { t.m_nSeqTime[4][11] = 0; }, {T::kSeqTime, 5, 12, 3, 0, {}, {}}},
        {"memory", [](auto& t) { t.m_nPattern[12][6] = 32; }, {T::kMemory, 12, 7, 6, 32, {}, {}}},
        {"title position",
         [](auto& t) { t.m_nTitlePosition[31] = 0; },
         {T::kTitlePosition, 0, 32, 1, 0, {}, {}}},
        {"input title",
         [](auto& t) { t.m_nInTitleDisp[0] = 0; },
         {T::kInTitleDisp, 0, 1, 1, 0, {}, {}}},
        {"output title",
         [](auto& t) { t.m_nOutTitleDisp[31] = 0; },
         {T::kOutTitleDisp, 0, 32, 1, 0, {}, {}}},
        {"input calendar",
         [](auto& t) { t.m_nInCalendarDisp[9] = 0; },
         {T::kInCalendarDisp, 0, 10, 1, 0, {}, {}}},
        {"output calendar",
         [](auto& t) { t.m_nOutCalendarDisp[2] = 0; },
         {T::kOutCalendarDisp, 0, 3, 1, 0, {}, {}}},
        {"date format", [](auto& t) { t.m_nDateFormat = 2; }, {T::kDateFormat, 0, 0, 0, 2, {}, {}}},
        {"title", [](auto& t) { t.m_strTitle[2] = kShisha; }, {T::kTitle, 0, 3, 0, 0, "", kShisha}},
    };
    const CSettingsTables file = DefaultSettingsTables(0);
    EXPECT_EQ(CompareSettings(file, file, 32), Diffs{});
    for (const auto& c : changes) {
        CSettingsTables sw = file;
        c.change(sw);
        EXPECT_EQ(CompareSettings(file, sw, 32), Diffs{c.expected}) << c.name;
    }
}

// The value holds the direct row and the current memory too; no file holds
// them, so a compare with a file must not name them.
TEST(SettingsDiffTest, TheDirectRowAndTheCurrentMemoryAreNotCompared) {
    const CSettingsTables file = DefaultSettingsTables(0);
    CSettingsTables sw = file;
    sw.m_nPattern[kDirectRow].fill(40);
    sw.m_nCurMemory = 12;
    EXPECT_EQ(CompareSettings(file, sw, 32), Diffs{});
    EXPECT_EQ(CompareSettings(file, sw, 64, CompareScope::kAllItemsRun), Diffs{});
}

TEST(SettingsDiffTest, EverythingDifferentIsReportedEntryByEntryInReadOrder) {
    const CSettingsTables file = DefaultSettingsTables(0);
    CSettingsTables sw = file;
    for (auto& pattern : sw.m_nSeqTime) pattern.fill(0);
    for (auto& row : MemoryRows(sw)) row.fill(40);
    for (auto* table : {&sw.m_nInTitleDisp, &sw.m_nTitlePosition, &sw.m_nInCalendarDisp}) {
        table->fill(0);
    }
    sw.m_nOutTitleDisp.fill(0);
    sw.m_nOutCalendarDisp.fill(0);
    sw.m_nDateFormat = 1;
    sw.m_strTitle.fill(kHonsha);

    for (int n : {32, 64}) {
        const Diffs diffs = CompareSettings(file, sw, n);
        ASSERT_EQ(diffs.size(), static_cast<size_t>(64 * n + 64 * 32 + 3 * n + 2 * 32 + 1 + n));
        EXPECT_EQ(diffs.front().table, SettingsTable::kSeqTime);
        EXPECT_EQ(diffs.front().nRow, 1);
        EXPECT_EQ(diffs[static_cast<size_t>(64 * n)].table, SettingsTable::kMemory);
        EXPECT_EQ(diffs.back().table, SettingsTable::kTitle);
        EXPECT_EQ(diffs.back().nIndex, n);
        EXPECT_TRUE(std::is_sorted(diffs.begin(), diffs.end(),
                                   [](const auto& a, const auto& b) { return a.table < b.table; }));
    }
    // The all-items run does not carry the date format.
    EXPECT_EQ(CompareSettings(file, sw, 32, CompareScope::kAllItemsRun).size(),
              static_cast<size_t>(64 * 32 + 64 * 32 + 3 * 32 + 2 * 32 + 32));
}

TEST(SettingsDiffTest, ChannelsBeyondTheModelAreNotRead) {
    const CSettingsTables file = DefaultSettingsTables(0);
    CSettingsTables sw = file;
    sw.m_nSeqTime[0][32] = 9;
    sw.m_nInTitleDisp[40] = 0;
    sw.m_strTitle[63] = kHonsha;
    EXPECT_EQ(CompareSettings(file, sw, 32), Diffs{});
    EXPECT_EQ(CompareSettings(file, sw, 64).size(), 3u);
}

TEST(SettingsDiffTest, TitlesCompareAsTheLineCarriesThem) {
    CSettingsTables file = DefaultSettingsTables(0);
    CSettingsTables sw = file;
    file.m_strTitle[0] = std::string(kHonsha) + kSpace + kSpace;  // the filling is dropped
    sw.m_strTitle[0] = kHonsha;
    file.m_strTitle[1] = " ";                            // goes out as a blank title
    file.m_strTitle[2] = std::string(kSpace) + kHonsha;  // a leading space stays
    sw.m_strTitle[2] = kHonsha;
    const Diffs diffs = CompareSettings(file, sw, 32);
    ASSERT_EQ(diffs.size(), 1u);
    EXPECT_EQ(diffs[0].nIndex, 3);
    EXPECT_EQ(diffs[0].strFile, std::string(kSpace) + kHonsha);
    EXPECT_EQ(TitleAsCarried("A\x81\x40"), "A\x81\x40");  // odd: no pair to drop
}

TEST(SettingsDiffTest, ValuesReadAsTheEditorsShowThem) {
    using T = SettingsTable;
    auto text = [](CSettingsDifference d, DiffSide side, int n = 32) {
        return DifferenceValueText(d, side, n);
    };
    const CSettingsDifference seq{T::kSeqTime, 5, 12, 10, 0, {}, {}};
    EXPECT_EQ(text(seq, DiffSide::kFile), "10 s");
    EXPECT_EQ(text(seq, DiffSide::kSwitcher), "SKIP");
    const CSettingsDifference memory{T::kMemory, 12, 7, 2, 32, {}, {}};
    EXPECT_EQ(text(memory, DiffSide::kFile), "I03");
    EXPECT_EQ(text(memory, DiffSide::kSwitcher), "A01");
    EXPECT_EQ(text(memory, DiffSide::kSwitcher, 64), "I33");
    EXPECT_EQ(text({T::kTitlePosition, 0, 1, 0, 1, {}, {}}, DiffSide::kFile), "Top");
    EXPECT_EQ(text({T::kTitlePosition, 0, 1, 0, 1, {}, {}}, DiffSide::kSwitcher), "Bottom");
    EXPECT_EQ(text({T::kOutCalendarDisp, 0, 1, 0, 1, {}, {}}, DiffSide::kFile), "OFF");
    EXPECT_EQ(text({T::kInTitleDisp, 0, 1, 0, 1, {}, {}}, DiffSide::kSwitcher), "ON");
    EXPECT_EQ(text({T::kDateFormat, 0, 0, 0, 2, {}, {}}, DiffSide::kFile), "年.月.日");
    EXPECT_EQ(text({T::kDateFormat, 0, 0, 0, 2, {}, {}}, DiffSide::kSwitcher), "日/月/年");
    const CSettingsDifference title{T::kTitle, 0, 3, 0, 0, kHonsha, ""};
    EXPECT_EQ(text(title, DiffSide::kFile), "本社");
    EXPECT_EQ(text(title, DiffSide::kSwitcher), "(none)");
}

TEST(SettingsDiffTest, ShiftJisBytesThatStartNoCharacterShowAsReplacements) {
    EXPECT_EQ(ShiftJisToUtf8("AB\xb1"), "ABｱ");  // half-width katakana is one byte
    EXPECT_EQ(ShiftJisToUtf8("\xa0"
                             "A"),
              "\xEF\xBF\xBD"
              "A");
    EXPECT_EQ(ShiftJisToUtf8(std::string(kHonsha) + "\x96"), "本社\xEF\xBF\xBD");
}

}  // namespace
