#include "res/editor_dialogs.h"

#include "res/command_ids.h"
#include "res/run_controls.h"

namespace {

const char kFont[] = "ＭＳ Ｐゴシック";
using K = ControlKind;

std::vector<std::string> WithSkip(std::vector<std::string> times) {
    times.insert(times.begin(), "SKIP");
    return times;
}

std::vector<std::string> WithNone(std::vector<std::string> memories) {
    memories.insert(memories.begin(), "None");
    return memories;
}

}  // namespace

std::vector<std::string> SourceCodeItems() {
    std::vector<std::string> items;
    for (const auto& n : TwoDigitItems(1, 64)) items.push_back("I" + n);
    for (const auto& n : TwoDigitItems(1, 64)) items.push_back("A" + n);
    return items;
}

const CDialogTemplate& AutoSequenceTemplate() {
    static const CDialogTemplate t{
        IDD_AUTO_SEQUENCE,
        "オート・シーケンス",
        kFont,
        9,
        385,
        199,
        {
            {K::kFrame, IDC_SEQ_TABLE, 0, 0, 385, 135, "", {}},
            {K::kGroupBox, kNoId, 5, 140, 50, 35, "Pattern no.", {}},
            {K::kDropList, IDC_SEQ_PATTERN, 10, 155, 40, 140, "", TwoDigitItems(1, 64)},
            {K::kGroupBox, kNoId, 60, 140, 50, 35, "Channel no.", {}},
            {K::kDropList, IDC_SEQ_CHANNEL, 65, 155, 40, 140, "", TwoDigitItems(1, 64)},
            {K::kGroupBox, kNoId, 115, 140, 50, 35, "Sequence time", {}},
            {K::kDropList, IDC_SEQ_TIME, 120, 155, 40, 140, "", WithSkip(TwoDigitItems(1, 60))},
            {K::kGroupBox, kNoId, 170, 140, 50, 35, "Same time", {}},
            {K::kDropList, IDC_SEQ_SAME_TIME, 175, 155, 40, 140, "", TwoDigitItems(1, 60)},
            {K::kGroupBox, kNoId, 225, 140, 50, 35, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 230, 155, 40, 110, "", TwoDigitItems(0, 31)},
            {K::kButton, IDC_SET, 285, 140, 45, 14, "設定", {}},
            {K::kEdit, IDC_SEQ_COUNTER, 285, 160, 14, 14, "", {}, true},  // room for "64"
            {K::kButton, IDC_ALL_SET, 299, 160, 31, 14, "全設定", {}},
            {K::kDefaultButton, IDOK, 335, 140, 45, 14, "OK", {}},
            {K::kButton, IDCANCEL, 335, 160, 45, 14, "CLOSE", {}},
            {K::kStaticText, IDC_RUN_STATUS, 5, 181, 275, 16, "", {}},
            {K::kButton, IDC_RUN_STOP, 285, 180, 45, 14, "中止", {}},
        }};
    return t;
}

const CDialogTemplate& PatternOutputTemplate() {
    static const CDialogTemplate t{
        IDD_PATTERN_OUTPUT,
        "",
        kFont,
        9,
        385,
        214,
        {
            {K::kFrame, IDC_OUT_TABLE, 0, 0, 385, 135, "", {}},
            {K::kGroupBox, kNoId, 5, 140, 50, 55, "Pattern no.", {}},
            {K::kDropList, IDC_OUT_MEMORY, 10, 155, 40, 140, "", WithNone(TwoDigitItems(1, 64))},
            {K::kButton, IDC_OUT_SWITCH, 10, 175, 40, 14, "切換え", {}},
            {K::kGroupBox, kNoId, 60, 140, 50, 35, "Output no.", {}},
            {K::kDropList, IDC_OUT_OUTPUT, 65, 155, 40, 130, "", TwoDigitItems(1, 32)},
            {K::kGroupBox, kNoId, 115, 140, 50, 35, "Channel no.", {}},
            {K::kDropList, IDC_OUT_CHANNEL, 120, 155, 40, 130, "", SourceCodeItems()},
            {K::kGroupBox, kNoId, 170, 140, 50, 35, "Same channel", {}},
            {K::kDropList, IDC_OUT_SAME_CHANNEL, 175, 155, 40, 130, "", SourceCodeItems()},
            {K::kGroupBox, kNoId, 225, 140, 50, 35, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 230, 155, 40, 110, "", TwoDigitItems(0, 31)},
            {K::kButton, IDC_SET, 285, 145, 45, 14, "設定", {}},
            {K::kEdit, IDC_OUT_COUNTER, 285, 175, 14, 14, "", {}, true},  // room for "64"
            {K::kButton, IDC_ALL_SET, 299, 175, 31, 14, "全設定", {}},
            {K::kDefaultButton, IDOK, 335, 145, 45, 14, "OK", {}},
            {K::kButton, IDCANCEL, 335, 175, 45, 14, "CLOSE", {}},
            {K::kStaticText, IDC_RUN_STATUS, 5, 196, 275, 16, "", {}},
            {K::kButton, IDC_RUN_STOP, 285, 195, 45, 14, "中止", {}},
        }};
    return t;
}
