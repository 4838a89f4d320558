#include "res/link_dialogs.h"

#include "res/command_ids.h"
#include "res/version.h"

namespace {

const char kFont[] = "ＭＳ Ｐゴシック";
using K = ControlKind;

}  // namespace

const CDialogTemplate& CommSettingsTemplate() {
    static const CDialogTemplate t{
        IDD_COMM_SETTINGS,
        "通信の設定",
        kFont,
        9,
        186,
        70,
        {
            {K::kGroupBox, kNoId, 7, 7, 60, 40, "COM Port", {}},
            {K::kDropList,
             IDC_COM_PORT,
             14,
             22,
             46,
             90,
             "",
             {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6"}},
            {K::kGroupBox, kNoId, 74, 7, 60, 40, "Interface", {}},
            {K::kDropList, IDC_INTERFACE, 81, 22, 46, 40, "", {"RS-232C", "RS-485"}},
            {K::kDefaultButton, IDOK, 140, 10, 40, 14, "OK", {}},
            {K::kButton, IDCANCEL, 140, 30, 40, 14, "CLOSE", {}},
        }};
    return t;
}

const CDialogTemplate& CommSettingsWithDevicesTemplate() {
    static const CDialogTemplate t = [] {
        CDialogTemplate full = CommSettingsTemplate();
        full.cx = 240;
        full.cy = 142;
        for (auto& c : full.controls) {
            if (c.nId == IDOK || c.nId == IDCANCEL) c.x = 190;  // at the wider dialog's edge
        }
        const std::vector<CControlTemplate> added = {
            {K::kGroupBox, kNoId, 7, 52, 226, 44, "接続先", {}},
            {K::kDropDown, IDC_PORT_DEVICE, 14, 64, 212, 120, "", {}},
            {K::kStaticText, IDC_PORT_DEVICE_INFO, 14, 81, 212, 8, "", {}},
            {K::kGroupBox, kNoId, 7, 100, 226, 36, "スイッチャーの検索", {}},
            {K::kButton, IDC_BUS_SEARCH, 14, 114, 40, 14, "検索", {}},
            {K::kDropList, IDC_BUS_FOUND, 60, 114, 84, 90, "", {}},
            {K::kStaticText, IDC_BUS_STATUS, 150, 117, 76, 8, "", {}},
        };
        full.controls.insert(full.controls.end(), added.begin(), added.end());
        return full;
    }();
    return t;
}

const CDialogTemplate& ModelSelectTemplate() {
    static const CDialogTemplate t{
        IDD_MODEL_SELECT,
        "モデルの選択",
        kFont,
        9,
        130,
        60,
        {
            {K::kGroupBox, kNoId, 7, 7, 70, 40, "Model", {}},
            {K::kDropList, IDC_MODEL, 14, 22, 56, 40, "", {"Qelvar-32", "Qelvar-64"}},
            {K::kDefaultButton, IDOK, 84, 10, 40, 14, "OK", {}},
            {K::kButton, IDCANCEL, 84, 30, 40, 14, "CLOSE", {}},
        }};
    return t;
}

const CDialogTemplate& AboutTemplate() {
    static const CDialogTemplate t{
        IDD_ABOUTBOX,
        "Qelvar のﾊﾞｰｼﾞｮﾝ情報",
        kFont,
        9,
        180,
        64,
        {
            {K::kStaticText,
             kNoId,
             12,
             10,
             110,
             8,
             std::string("Qelvar Version ") + kQelvarVersion,
             {}},
            {K::kStaticText, kNoId, 12, 24, 110, 8, "Copyright (C) 2026", {}},
            {K::kStaticText, kNoId, 12, 40, 160, 8, kLicenceLabel, {}},
            {K::kDefaultButton, IDOK, 130, 8, 40, 14, "OK", {}},
        }};
    return t;
}
