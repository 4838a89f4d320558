#include "batch/cycle_steps.h"

#include <iterator>

#include "editors/auto_sequence_send.h"
#include "editors/display_send.h"
#include "editors/pattern_output_send.h"
#include "editors/title_send.h"
#include "link/link_context.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/read_lines.h"

namespace {

constexpr int kEditorPeriodMs = 250;
constexpr int kBatchPeriodMs = 300;
constexpr int kDisplayFirst = 2 * kPatterns + 1;  // step 129
constexpr int kTitleFirst = kDisplayFirst + 5;    // step 134

CStepResult Sent() {
    return {};
}

std::string Numbered(const char* what, int number) {
    return what + (" " + TwoDigits(number));
}

// The display switch tables as the 設定 menu names them, in the order of DisplaySwitch.
const char* const kDisplayNames[] = {"入力タイトル表示", "出力タイトル表示", "タイトル表示位置",
                                     "入力カレンダ表示", "出力カレンダ表示"};

// Steps 129..133 of the all-items run: CTI, CTO, CPI, TSI, TSO, the order of
// DisplaySwitch.
DisplaySwitch DisplayStepSwitch(int k) {
    return static_cast<DisplaySwitch>(k - kDisplayFirst);
}

CStepResult AllItemsStep(int k) {
    if (k <= kPatterns) return SequencePatternStep(k - 1);
    if (k < kDisplayFirst) return SendMemoryPattern(k - kPatterns);
    if (k < kTitleFirst) {
        SendDisplaySwitch(DisplayStepSwitch(k));
        return Sent();
    }
    return TitleStep(k - kTitleFirst);
}

std::string DescribeAllItemsStep(int k) {
    if (k <= kPatterns) return Numbered("pattern", k);
    if (k < kDisplayFirst) return Numbered("memory", k - kPatterns);
    if (k < kTitleFirst) return SwitchLineFormat(DisplayStepSwitch(k)).tag;
    return Numbered("title of channel", k - kTitleFirst + 1);
}

std::string NameAllItemsStep(int k) {
    if (k <= kPatterns) return Numbered("パターン", k);
    if (k < kDisplayFirst) return Numbered("メモリ", k - kPatterns);
    if (k < kTitleFirst) return kDisplayNames[static_cast<int>(DisplayStepSwitch(k))];
    return Numbered("タイトル", k - kTitleFirst + 1);
}

}  // namespace

CStepList AutoSequenceSteps() {
    return {kPatterns,
            [](int k) { return SequencePatternStep(k - 1); },
            [](int k) { return Numbered("pattern", k); },
            [](int k) { return Numbered("パターン", k); },
            false,
            2,
            kEditorPeriodMs};
}

CStepList MemoryPatternSteps() {
    return {kPatterns,
            [](int k) { return SendMemoryPattern(k); },
            [](int k) { return Numbered("memory", k); },
            [](int k) { return Numbered("メモリ", k); },
            false,
            6,
            kEditorPeriodMs};
}

CStepList TitleSteps() {
    return {InputChannelCount(),
            [](int k) { return TitleStep(k - 1); },
            [](int k) { return Numbered("title of channel", k); },
            [](int k) { return Numbered("タイトル", k); },
            false,
            4,
            kEditorPeriodMs};
}

CStepList AllItemsSteps() {
    return {InputChannelCount() + kTitleFirst - 1,
            AllItemsStep,
            DescribeAllItemsStep,
            NameAllItemsStep,
            false,
            7,
            kBatchPeriodMs};
}

int ReadBackStepCount(int nInputs) {
    return nInputs + 136;
}

std::optional<CReadRequest> ReadBackRequest(int k, int nInputs) {
    // Steps 129..136, after the patterns and the memories.
    static constexpr DataLine kSingles[] = {
        DataLine::kTitlePositions,  DataLine::kInTitleDisp, DataLine::kOutTitleDisp,
        DataLine::kOutputs,         DataLine::kCurMemory,   DataLine::kInCalendarDisp,
        DataLine::kOutCalendarDisp, DataLine::kDateFormat,
    };
    constexpr int kTitleFirst = 2 * kPatterns + static_cast<int>(std::size(kSingles)) + 1;
    if (k < 1 || k > ReadBackStepCount(nInputs)) return std::nullopt;
    if (k <= kPatterns) return CReadRequest{DataLine::kSeqPattern, k};
    if (k <= 2 * kPatterns) return CReadRequest{DataLine::kMemoryPattern, k - kPatterns};
    if (k < kTitleFirst) return CReadRequest{kSingles[k - 2 * kPatterns - 1], 0};
    return CReadRequest{DataLine::kTitle, k - kTitleFirst + 1};
}

std::string ReadBackCommand(int k, int nInputs) {
    auto request = ReadBackRequest(k, nInputs);
    return request ? FormatReadCommand(*request) : std::string();
}

int ReadBackPercent(int k, int nSteps) {
    return nSteps > 0 ? k * 100 / nSteps : 0;
}

namespace {

// The read-back's commands; before the first, the decoders are pointed where
// the answers are to land.
CStepList ReadSteps(std::function<void()> beforeFirst) {
    const int n = InputChannelCount();
    // The read commands are how the user names the reads, in English and Japanese alike.
    auto command = [n](int k) { return std::string(LineBody(ReadBackCommand(k, n))); };
    return {ReadBackStepCount(n),
            [n, beforeFirst = std::move(beforeFirst)](int k) {
                if (k == 1) beforeFirst();
                SendCommand(ReadBackCommand(k, n));
                return Sent();
            },
            command,
            command,
            true,
            8,
            kBatchPeriodMs};
}

}  // namespace

CStepList ReadBackSteps() {
    // Into a copy too, applied once every read has been answered: a read
    // stopped or left without answers leaves the settings as they were.
    return ReadSteps([] { Link().ReadIntoCopy(g_settings); });
}

CStepList CompareReadSteps() {
    return ReadSteps([] { Link().ReadIntoCopy(g_settings); });
}
