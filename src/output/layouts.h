#pragma once
// The texts of the CSV files: Layout A (the combination table) and Layout B
// (the totals and pre-draw views). Records end in LF; the whole text is then
// followed by CR LF when written (see withFinalCrLf).
#include <string>

#include "grid/text_grid.h"

namespace kazuban::output {

// Layout A. s = 0 for the saved CSV, s = 2 for the print file tmptxt.csv.
std::string layoutA(const grid::TextGrid& table, int s);
// Layout B: rows 0..lastRow, columns firstCol..9 (totals: 1..9, pre-draw: 0..9).
std::string layoutB(const grid::TextGrid& view, int lastRow, int firstCol);
// text + CR LF: the bytes a file holds (before the cp932 encoding).
inline std::string withFinalCrLf(std::string text) { return text + "\r\n"; }

}  // namespace kazuban::output
