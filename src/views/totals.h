#pragma once
// The totals view of tab 1 (MSFlexGrid2): one row per combination-table row
// with its seven scores. The Form1 handlers orchestrate; these functions do
// the work on the grids they are given.
#include <string>

#include "grid/text_grid.h"
#include "history/statistics.h"

namespace kazuban::views {

inline constexpr int kTotalsRows = 1000;  // data rows 1..1000

// Empties the grid, sets its 1001 x 10 shape, widths, centring, headers and
// the row numbers 1..1000 in column 0.
void buildTotalsGrid(grid::TextGrid& view);

// Columns 2..9 of `row` from its column-1 text, the win entries of the same
// row of `table` (columns 2..lastWinColumn) and the whole-history pair table.
void scoreTotalsRow(grid::TextGrid& view, int row, const grid::TextGrid& table, int lastWinColumn,
                    const history::PairTable& pairs);

// Current column c0, selection end column c1, on the current row only.
void selectRowColumns(grid::TextGrid& g, int c0, int c1);

// The column-1 texts of the selected rows, top to bottom, each ended by CR LF.
std::string selectedCombinationsText(const grid::TextGrid& g);

// After the ascending sort by combination: the number of leading rows whose
// text is shorter than 13 characters (r runs from 1 while r < 1000).
int leadingShortRows(const grid::TextGrid& view);
// Moves the combinations up over the k leading short rows, emptying columns
// 1..9 of each row whose text moved away.
void closeUpCombinations(grid::TextGrid& view, int k);

// "整列" on the combination column: sorts the view's rows by their text. When
// rows without a combination came first, the combinations close up over them
// and the combination table and the mark-sheet list take the view's order for
// every row, the table's win entries (columns 2..lastWinColumn) cleared: the
// texts moved away from them. Returns true then; the caller recalculates the
// table and rescores the view.
bool sortTotalsByCombination(grid::TextGrid& view, grid::TextGrid& table, grid::TextGrid& markSheetList,
                             int lastWinColumn);
// Row numbers 1..1000 in column 0.
void numberTotalsRows(grid::TextGrid& view);

}  // namespace kazuban::views
