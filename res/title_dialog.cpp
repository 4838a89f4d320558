#include "res/title_dialog.h"

#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/run_controls.h"

const CDialogTemplate& TitleTemplate() {
    using K = ControlKind;
    // A fixed-pitch face, so the titles line up; the slave address box is wider
    // for its label in that face.
    static const CDialogTemplate t{
        IDD_TITLE,
        "タイトル設定",
        "ＭＳ ゴシック",
        9,
        450,
        199,
        {
            {K::kFrame, IDC_TITLE_TABLE, 0, 0, 450, 135, "", {}},
            {K::kGroupBox, kNoId, 5, 140, 165, 35, "Title", {}},
            {K::kEdit, IDC_TITLE_EDIT, 10, 155, 155, 14, "", {}},
            {K::kGroupBox, kNoId, 175, 140, 50, 35, "Channel no.", {}},
            {K::kDropList, IDC_TITLE_CHANNEL, 180, 155, 40, 140, "", TwoDigitItems(1, 64)},
            {K::kGroupBox, kNoId, 230, 140, 60, 35, "Slave address", {}},
            {K::kDropList, IDC_SLAVE_ADDRESS, 235, 155, 40, 110, "", TwoDigitItems(0, 31)},
            {K::kButton, IDC_SET, 297, 140, 60, 14, "設定", {}},
            {K::kEdit, IDC_TITLE_COUNTER, 297, 160, 15, 14, "", {}, true},
            {K::kButton, IDC_ALL_SET, 314, 160, 43, 14, "全ch.設定", {}},
            {K::kDefaultButton, IDOK, 395, 140, 50, 14, "OK", {}},
            {K::kButton, IDCANCEL, 395, 160, 50, 14, "CLOSE", {}},
            {K::kStaticText, IDC_RUN_STATUS, 5, 181, 285, 16, "", {}},
            {K::kButton, IDC_RUN_STOP, 297, 180, 60, 14, "中止", {}},
        }};
    return t;
}
