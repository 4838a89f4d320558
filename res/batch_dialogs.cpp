#include "res/batch_dialogs.h"

#include "res/command_ids.h"
#include "res/editor_dialogs.h"

namespace {

const char kFont[] = "ＭＳ Ｐゴシック";
using K = ControlKind;

}  // namespace

const CDialogTemplate& CalendarTemplate() {
    static const CDialogTemplate t{
        IDD_CALENDAR,
        "カレンダ",
        kFont,
        9,
        210,
        215,
        {
            {K::kGroupBox, kNoId, 5, 10, 60, 60, "Year", {}},
            {K::kDropList, IDC_CAL_YEAR, 10, 25, 48, 140, "", TwoDigitItems(0, 99)},
            {K::kButton, IDC_CAL_SET_YEAR, 10, 45, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 75, 10, 60, 60, "Month", {}},
            {K::kDropList, IDC_CAL_MONTH, 80, 25, 48, 120, "", NumberItems(1, 12)},
            {K::kButton, IDC_CAL_SET_MONTH, 80, 45, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 145, 10, 60, 60, "Day", {}},
            {K::kDropList, IDC_CAL_DAY, 150, 25, 48, 165, "", NumberItems(1, 31)},
            {K::kButton, IDC_CAL_SET_DAY, 150, 45, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 5, 80, 60, 60, "Hour", {}},
            {K::kDropList, IDC_CAL_HOUR, 10, 95, 48, 120, "", NumberItems(0, 23)},
            {K::kButton, IDC_CAL_SET_HOUR, 10, 115, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 75, 80, 60, 60, "Minute", {}},
            {K::kDropList, IDC_CAL_MINUTE, 80, 95, 48, 145, "", NumberItems(0, 59)},
            {K::kButton, IDC_CAL_SET_MINUTE, 80, 115, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 145, 80, 60, 60, "Second", {}},
            {K::kDropList, IDC_CAL_SECOND, 150, 95, 48, 145, "", NumberItems(0, 59)},
            {K::kButton, IDC_CAL_SET_SECOND, 150, 115, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 5, 150, 60, 40, "30Sec. adjust", {}},
            {K::kButton, IDC_CAL_ADJUST, 10, 165, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 75, 150, 60, 60, "Display", {}},
            {K::kDropList,
             IDC_CAL_DISPLAY,
             80,
             165,
             48,
             115,
             "",
             {"年.月.日", "月-日-年", "日/月/年"}},
            {K::kButton, IDC_CAL_SET_DISPLAY, 80, 185, 50, 14, "設定", {}},
            {K::kGroupBox, kNoId, 150, 150, 50, 35, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 155, 165, 40, 75, "", TwoDigitItems(0, 31)},
            {K::kButton, IDCANCEL, 150, 195, 50, 14, "CLOSE", {}},
        }};
    return t;
}

const CDialogTemplate& SlaveAddressTemplate() {
    static const CDialogTemplate t{
        IDD_SLAVE_ADDRESS,
        "スレーブ・アドレス",
        kFont,
        9,
        134,
        59,
        {
            {K::kGroupBox, kNoId, 5, 10, 60, 40, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 10, 25, 48, 150, "", TwoDigitItems(0, 31)},
            {K::kButton, IDC_SET, 75, 10, 50, 14, "設定", {}},
            {K::kButton, IDCANCEL, 75, 35, 50, 14, "CLOSE", {}},
        }};
    return t;
}

const CDialogTemplate& AllItemsTemplate() {
    static const CDialogTemplate t{IDD_ALL_ITEMS,
                                   "全項目の設定",
                                   kFont,
                                   9,
                                   155,
                                   104,
                                   {
                                       // room for "197"
                                       {K::kEdit, IDC_ALL_COUNTER, 10, 15, 20, 14, "", {}, true},
                                       {K::kButton, IDC_ALL_START, 32, 15, 50, 14, "設定", {}},
                                       {K::kButton, IDCANCEL, 95, 15, 50, 14, "CLOSE", {}},
                                       {K::kProgress, IDC_ALL_PROGRESS, 10, 35, 135, 14, "", {}},
                                       {K::kButton, IDC_RUN_STOP, 95, 55, 50, 14, "中止", {}},
                                       {K::kStaticText, IDC_RUN_STATUS, 10, 74, 135, 26, "", {}},
                                   }};
    return t;
}

const CDialogTemplate& SettingsReadTemplate() {
    static const CDialogTemplate t{
        IDD_SETTINGS_READ,
        "設定項目の読み込み",
        kFont,
        9,
        203,
        108,
        {
            {K::kButton, IDC_READ_START, 7, 13, 50, 14, "読み込み", {}},
            {K::kEdit, IDC_READ_PERCENT, 57, 13, 25, 14, "", {}, true, true},
            {K::kStaticText, kNoId, 83, 15, 8, 8, "％", {}},
            {K::kButton, IDC_RUN_STOP, 94, 14, 46, 14, "中止", {}},
            {K::kButton, IDCANCEL, 146, 14, 50, 14, "CLOSE", {}},
            {K::kProgress, IDC_READ_PROGRESS, 7, 38, 189, 14, "", {}},
            {K::kStaticText,
             kNoId,
             14,
             63,
             168,
             8,
             "メインテナンス以外で読み込み操作を行わないでください。",
             {}},
            {K::kStaticText, IDC_RUN_STATUS, 7, 80, 189, 24, "", {}},
        }};
    return t;
}

const CDialogTemplate& SettingsCompareTemplate() {
    static const CDialogTemplate t{
        IDD_SETTINGS_COMPARE,
        "設定の照合",
        kFont,
        9,
        203,
        112,
        {
            {K::kButton, IDC_COMPARE_START, 7, 13, 50, 14, "照合", {}},
            {K::kEdit, IDC_COMPARE_PERCENT, 57, 13, 25, 14, "", {}, true, true},
            {K::kStaticText, kNoId, 83, 15, 8, 8, "％", {}},
            {K::kButton, IDC_RUN_STOP, 94, 14, 46, 14, "中止", {}},
            {K::kButton, IDCANCEL, 146, 14, 50, 14, "CLOSE", {}},
            {K::kProgress, IDC_COMPARE_PROGRESS, 7, 38, 189, 14, "", {}},
            {K::kStaticText,
             kNoId,
             14,
             60,
             182,
             8,
             "スイッチャーの設定を読み出して、メモリ上の設定と照合します。",
             {}},
            {K::kStaticText, kNoId, 14, 72, 182, 8, "メモリ上の設定は変わりません。", {}},
            {K::kStaticText, IDC_RUN_STATUS, 7, 84, 189, 24, "", {}},
        }};
    return t;
}

const CDialogTemplate& CompareResultTemplate() {
    static const CDialogTemplate t{IDD_COMPARE_RESULT,
                                   "照合の結果",
                                   kFont,
                                   9,
                                   330,
                                   200,
                                   {
                                       {K::kStaticText, IDC_COMPARE_SUMMARY, 7, 7, 316, 8, "", {}},
                                       {K::kListView,
                                        IDC_COMPARE_LIST,
                                        7,
                                        19,
                                        316,
                                        155,
                                        "",
                                        {"表", "項目", "メモリ", "スイッチャー"}},
                                       {K::kButton, IDCANCEL, 273, 180, 50, 14, "CLOSE", {}},
                                   }};
    return t;
}
