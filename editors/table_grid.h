// The grid every table editor paints into its frame: entries run down columns
// of 8 from (10, 16) in 20-pixel rows, each as one text, on a white 670 x 200
// pixel fill. Each entry also owns a cell, the area around its text that a
// click picks and the current entry's mark outlines.
#pragma once

#include <string>

inline constexpr int kGridFillWidth = 670;
inline constexpr int kGridFillHeight = 200;
inline constexpr int kGridRows = 8;
inline constexpr int kGridRowHeight = 20;

struct CGridPoint {
    int x;
    int y;
    bool operator==(const CGridPoint&) const = default;
};

struct CGridRect {
    int x;
    int y;
    int cx;
    int cy;
    bool operator==(const CGridRect&) const = default;
};

// Top-left corner of entry i's text for a column width.
CGridPoint GridCellPosition(int i, int nColumnWidth);

// Entry i's cell: its row, and its column's width, a few pixels above and left
// of the text, so the cells of a grid tile it without gaps.
CGridRect GridCellRect(int i, int nColumnWidth);
CGridPoint GridCellCentre(int i, int nColumnWidth);

// The entry (0..nEntries-1) whose cell holds the point, or -1.
int GridEntryAt(int x, int y, int nColumnWidth, int nEntries);

enum class GridMove { kUp, kDown, kLeft, kRight, kFirst, kLast };

// Where a key moves the current entry of a list of nCount entries laid out in
// the grid: up and down to the previous and next entry (on from the foot of a
// column to the head of the next, as the list runs), left and right to the
// neighbouring column. -1 when the move would leave the list. From no entry
// (from outside 0..nCount-1) every move goes to the first entry.
int GridMoveTarget(int from, GridMove move, int nCount);

// "ch01=03", "ch17=SKIP": a channel's time in the auto-sequence grid.
std::string SeqTimeCellText(int nChannel, int nTime);

// "out01=I01", "out02=A05": an output's source in the output switching grid.
std::string OutputCellText(int nOutput, int nCode, int nInputs);
