#include "editors/table_grid.h"

#include "protocol/fields.h"

namespace {

// How far a cell reaches above and left of its text.
constexpr int kCellLeft = 5;
constexpr int kCellAbove = 3;

}  // namespace

CGridPoint GridCellPosition(int i, int nColumnWidth) {
    return {10 + (i / kGridRows) * nColumnWidth, 16 + (i % kGridRows) * kGridRowHeight};
}

CGridRect GridCellRect(int i, int nColumnWidth) {
    const CGridPoint text = GridCellPosition(i, nColumnWidth);
    return {text.x - kCellLeft, text.y - kCellAbove, nColumnWidth, kGridRowHeight};
}

CGridPoint GridCellCentre(int i, int nColumnWidth) {
    const CGridRect cell = GridCellRect(i, nColumnWidth);
    return {cell.x + cell.cx / 2, cell.y + cell.cy / 2};
}

int GridEntryAt(int x, int y, int nColumnWidth, int nEntries) {
    const CGridRect first = GridCellRect(0, nColumnWidth);
    if (nColumnWidth <= 0 || x < first.x || y < first.y) return -1;
    const int column = (x - first.x) / nColumnWidth;
    const int row = (y - first.y) / kGridRowHeight;
    if (row >= kGridRows) return -1;
    const int entry = column * kGridRows + row;
    return entry < nEntries ? entry : -1;
}

int GridMoveTarget(int from, GridMove move, int nCount) {
    if (nCount <= 0) return -1;
    if (from < 0 || from >= nCount) return 0;
    int to = from;
    switch (move) {
        case GridMove::kUp:
            to = from - 1;
            break;
        case GridMove::kDown:
            to = from + 1;
            break;
        case GridMove::kLeft:
            to = from - kGridRows;
            break;
        case GridMove::kRight:
            to = from + kGridRows;
            break;
        case GridMove::kFirst:
            to = 0;
            break;
        case GridMove::kLast:
            to = nCount - 1;
            break;
    }
    return to >= 0 && to < nCount ? to : -1;
}

std::string SeqTimeCellText(int nChannel, int nTime) {
    return "ch" + TwoDigits(nChannel + 1) + "=" + (nTime == 0 ? "SKIP" : TwoDigits(nTime));
}

std::string OutputCellText(int nOutput, int nCode, int nInputs) {
    return "out" + TwoDigits(nOutput + 1) + "=" + SourceCodeText(nCode, nInputs);
}
