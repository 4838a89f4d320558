// What each send operation says it did: sent, or refused and why, with the
// warning the editors show for it (none where nothing is to be said).
#include <algorithm>

#include "editors/auto_sequence_send.h"
#include "editors/calendar_send.h"
#include "editors/pattern_output_send.h"
#include "editors/slave_address_send.h"
#include "editors/title_send.h"
#include "tests/editors/editors_fixture.h"

namespace {

using SendResultTest = EditorsTest;

TEST_F(SendResultTest, AnItemOutsideItsRangeIsRefusedWithoutAWarning) {
    const CStepResult refused[] = {
        SequencePatternStep(-1),
        SequencePatternStep(kPatterns),
        SendMemoryPattern(0),
        SendMemoryPattern(kPatterns + 1),
        SendMemoryRecall(0),
        SendSlaveAddress(32),
        SendSlaveAddress(-1),
        SendCalendarItem(CalendarItem::kYear, -1),
        SendCalendarItem(CalendarItem::kDisplay, 3),
    };
    for (const CStepResult& result : refused) {
        EXPECT_FALSE(result.Sent());
        EXPECT_EQ(result.refusal, SendRefusal::kNoSuchItem);
        EXPECT_EQ(result.pszWarning, nullptr);
    }
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(sink.boxes.empty());  // the operations themselves show nothing
}

TEST_F(SendResultTest, EachRefusalCarriesItsReasonAndItsWarning) {
    std::fill(g_nSeqTime[2].begin(), g_nSeqTime[2].end(), 0);
    const CStepResult allSkip = SequencePatternStep(2);
    EXPECT_EQ(allSkip.refusal, SendRefusal::kAllSkip);
    EXPECT_STREQ(allSkip.pszWarning, kAllSkipWarning);

    g_strTitle[3] = "abc";  // an odd number of bytes
    const CStepResult halfWidth = TitleStep(3);
    EXPECT_EQ(halfWidth.refusal, SendRefusal::kNotJisLevel12);
    EXPECT_STREQ(halfWidth.pszWarning, kNotJisLevel12Warning);

    g_strTitle[3] = "\x87\x40";  // a circled digit: outside JIS X 0208
    const CStepResult outOfSpec = TitleStep(3);
    EXPECT_EQ(outOfSpec.refusal, SendRefusal::kOutOfSpec);
    EXPECT_STREQ(outOfSpec.pszWarning, kOutOfSpecWarning);
    EXPECT_TRUE(lines.empty());

    EXPECT_EQ(RefusalWarning(SendRefusal::kNone), nullptr);
    EXPECT_EQ(RefusalWarning(SendRefusal::kNoSuchItem), nullptr);
}

TEST_F(SendResultTest, WhatWentOutSaysSent) {
    EXPECT_TRUE(SendMemoryPattern(1).Sent());
    EXPECT_TRUE(SendMemoryRecall(kPatterns).Sent());
    EXPECT_TRUE(SendSlaveAddress(31).Sent());
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kAdjust30Sec, 0).Sent());
    EXPECT_EQ(lines.size(), 4u);
}

}  // namespace
