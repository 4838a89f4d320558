#include "server/unit_blocks.h"

#include <cstdio>

#include "model/cp932_text.h"
#include "protocol/fields.h"
#include "protocol/switcher_model.h"

std::string DefaultOutputLabel(int nOutput) {
    return "out" + TwoDigits(nOutput + 1);
}

CVideohubDevice UnitDevice(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity) {
    CVideohubDevice device;
    device.bPresent = bPresent;
    device.strModel = ModelName(unit.pTables->m_nModel);
    device.strFriendlyName = identity.strFriendlyName;
    device.strUniqueId = identity.strUniqueId;
    device.nInputs = ServedInputs(unit);
    device.nOutputs = kOutputs;
    return device;
}

std::string InputLabel(const CSettingsTables& tables, int nInput) {
    const int nChannels = InputChannels(tables);
    if (nInput < nChannels) return ShiftJisToUtf8(tables.m_strTitle[nInput]);
    return "A" + TwoDigits(nInput - nChannels + 1);
}

int RoutedInput(const CServedUnit& unit, int nOutput) {
    const int code = unit.pTables->m_nPattern[kDirectRow][nOutput];
    return code >= 0 && code < ServedInputs(unit) ? code : -1;
}

std::vector<NumberedItem> InputLabelItems(const CServedUnit& unit) {
    std::vector<NumberedItem> items;
    for (int i = 0; i < ServedInputs(unit); ++i)
        items.emplace_back(i, InputLabel(*unit.pTables, i));
    return items;
}

std::vector<NumberedItem> OutputLabelItems(const CServedUnit& unit) {
    std::vector<NumberedItem> items;
    for (int o = 0; o < kOutputs; ++o) items.emplace_back(o, unit.outputLabels[o]);
    return items;
}

std::vector<NumberedItem> RoutingItems(const CServedUnit& unit) {
    std::vector<NumberedItem> items;
    for (int o = 0; o < kOutputs; ++o) {
        const int input = RoutedInput(unit, o);
        if (input >= 0) items.emplace_back(o, std::to_string(input));
    }
    return items;
}

std::string LockState(const CServedUnit& unit, int nOutput, unsigned long clientId) {
    const unsigned long owner = unit.lockOwner[nOutput];
    if (owner == 0) return "U";
    return owner == clientId ? "O" : "L";
}

std::vector<NumberedItem> LockItems(const CServedUnit& unit, unsigned long clientId) {
    std::vector<NumberedItem> items;
    for (int o = 0; o < kOutputs; ++o) items.emplace_back(o, LockState(unit, o, clientId));
    return items;
}

std::string DeviceBlocks(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity,
                         unsigned long clientId) {
    std::string blocks = FormatDevice(UnitDevice(unit, bPresent, identity));
    if (!bPresent) return blocks;
    blocks += FormatNumbered(kInputLabelsHeader, InputLabelItems(unit));
    blocks += FormatNumbered(kOutputLabelsHeader, OutputLabelItems(unit));
    blocks += FormatNumbered(kOutputLocksHeader, LockItems(unit, clientId));
    blocks += FormatNumbered(kOutputRoutingHeader, RoutingItems(unit));
    return blocks;
}

std::string OpeningDump(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity,
                        unsigned long clientId) {
    return FormatPreamble() + DeviceBlocks(unit, bPresent, identity, clientId) +
           FormatBlock(kEndPreludeHeader, {});
}
