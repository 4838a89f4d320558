#include "res/display_dialogs.h"

#include "res/command_ids.h"
#include "res/editor_dialogs.h"

namespace {

using K = ControlKind;

// What one display switch dialog has of its own.
struct CDisplayLayout {
    int nId;
    const char* caption;
    int nTableId;
    ControlKind channelKind;  // only the input title's channel list has no edit field
    int nChannels;            // list items before trimming by model
    int nValueId;
    const char* valueLabel;
    int nSameId;
    const char* sameLabel;
    std::vector<std::string> values;
};

std::vector<std::string> OffOn() {
    return {"OFF", "ON"};
}

CDialogTemplate MakeTemplate(const CDisplayLayout& l) {
    return CDialogTemplate{
        l.nId,
        l.caption,
        "ＭＳ Ｐゴシック",
        9,
        385,
        179,
        {
            {K::kFrame, l.nTableId, 0, 0, 385, 135, "", {}},
            {K::kGroupBox, kNoId, 5, 140, 50, 35, "Channel no.", {}},
            {l.channelKind, IDC_DISP_CHANNEL, 10, 155, 40, 140, "", TwoDigitItems(1, l.nChannels)},
            {K::kGroupBox, kNoId, 60, 140, 50, 35, l.valueLabel, {}},
            {K::kDropList, l.nValueId, 65, 155, 40, 50, "", l.values},
            {K::kGroupBox, kNoId, 115, 140, 50, 35, l.sameLabel, {}},
            {K::kDropList, l.nSameId, 120, 155, 40, 50, "", l.values},
            {K::kGroupBox, kNoId, 170, 140, 50, 35, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 175, 155, 40, 110, "", TwoDigitItems(0, 31)},
            {K::kButton, IDC_SET, 285, 140, 45, 14, "設定", {}},
            {K::kDefaultButton, IDOK, 335, 140, 45, 14, "OK", {}},
            {K::kButton, IDCANCEL, 335, 160, 45, 14, "CLOSE", {}},
        }};
}

}  // namespace

const CDialogTemplate& InputTitleTemplate() {
    static const CDialogTemplate t =
        MakeTemplate({IDD_INPUT_TITLE, "入力タイトル", IDC_DISP_IN_TITLE_TABLE, K::kDropList, 64,
                      IDC_DISP_DISPLAY, "Display", IDC_DISP_SAME_DISPLAY, "Same display", OffOn()});
    return t;
}

const CDialogTemplate& OutputTitleTemplate() {
    static const CDialogTemplate t = MakeTemplate(
        {IDD_OUTPUT_TITLE, "出力タイトルの表示", IDC_DISP_OUT_TITLE_TABLE, K::kDropDown, 32,
         IDC_DISP_OUT_DISPLAY, "Display", IDC_DISP_SAME_DISPLAY, "Same display", OffOn()});
    return t;
}

const CDialogTemplate& TitlePositionTemplate() {
    static const CDialogTemplate t = MakeTemplate({IDD_TITLE_POSITION,
                                                   "タイトル表示位置",
                                                   IDC_DISP_POSITION_TABLE,
                                                   K::kDropDown,
                                                   64,
                                                   IDC_DISP_POSITION,
                                                   "Position",
                                                   IDC_DISP_SAME_POSITION,
                                                   "Same position",
                                                   {"Top", "Bottom"}});
    return t;
}

const CDialogTemplate& InputCalendarTemplate() {
    static const CDialogTemplate t = MakeTemplate(
        {IDD_INPUT_CALENDAR, "入力カレンダ", IDC_DISP_IN_CALENDAR_TABLE, K::kDropDown, 64,
         IDC_DISP_DISPLAY, "Display", IDC_DISP_SAME_DISPLAY, "Same display", OffOn()});
    return t;
}

const CDialogTemplate& OutputCalendarTemplate() {
    static const CDialogTemplate t = MakeTemplate(
        {IDD_OUTPUT_CALENDAR, "出力カレンダ", IDC_DISP_OUT_CALENDAR_TABLE, K::kDropDown, 32,
         IDC_DISP_DISPLAY, "Display", IDC_DISP_SAME_DISPLAY, "Same display", OffOn()});
    return t;
}
