#include "editors/table_grid.h"

#include "protocol/fields.h"

CGridPoint GridCellPosition(int i, int nColumnWidth) {
    return {10 + (i / 8) * nColumnWidth, 16 + (i % 8) * 20};
}

std::string SeqTimeCellText(int nChannel, int nTime) {
    return "ch" + TwoDigits(nChannel + 1) + "=" + (nTime == 0 ? "SKIP" : TwoDigits(nTime));
}

std::string OutputCellText(int nOutput, int nCode, int nInputs) {
    return "out" + TwoDigits(nOutput + 1) + "=" + SourceCodeText(nCode, nInputs);
}
