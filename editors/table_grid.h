// The grid every table editor paints into its frame: entries run down columns
// of 8 from (10, 16) in 20-pixel rows, each as one text, on a white 670 x 200
// pixel fill.
#pragma once

#include <string>

inline constexpr int kGridFillWidth = 670;
inline constexpr int kGridFillHeight = 200;

struct CGridPoint {
    int x;
    int y;
    bool operator==(const CGridPoint&) const = default;
};

// Top-left corner of entry i's text for a column width.
CGridPoint GridCellPosition(int i, int nColumnWidth);

// "ch01=03", "ch17=SKIP": a channel's time in the auto-sequence grid.
std::string SeqTimeCellText(int nChannel, int nTime);

// "out01=I01", "out02=A05": an output's source in the output switching grid.
std::string OutputCellText(int nOutput, int nCode, int nInputs);
