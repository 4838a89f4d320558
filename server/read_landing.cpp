#include "server/read_landing.h"

#include "protocol/routing_lines.h"
#include "protocol/title_lines.h"

bool LandRead(const CReadRequest& read, std::string_view body, int nInputs,
              CSettingsTables& tables) {
    if (read.item == DataLine::kOutputs) {
        const auto row = ParseOutputsData(body, nInputs);
        if (!row) return false;
        tables.m_nPattern[kDirectRow] = *row;
        return true;
    }
    if (read.item == DataLine::kTitle) {
        const auto title = ParseTitleData(body, nInputs);
        if (!title || title->nChannel != read.nNumber - 1) return false;
        tables.m_strTitle[title->nChannel] = title->text;
        return true;
    }
    return false;
}
