#pragma once
// The first tab's reordering commands: numbers inside each combination and
// the combinations themselves, and the order of the win entries.
#include <string>
#include <string_view>

#include "grid/text_grid.h"

namespace kazuban::combos {

// Cuts the text into five two-character fields (a field holding "," becomes
// empty), orders them by value (empty = 0; equal values keep their order) and
// joins them again, skipping empty fields and a lone CR:
// " 5,31,12, 3,20" -> " 3, 5,12,20,31".
std::string sortNumbersInText(std::string_view s);

// Orders the numbers of every non-empty row, sorts rows 1..1000 by their
// text (whole rows, empty texts first), renumbers column 0 and moves the
// texts up past the leading rows whose text is shorter than 13 characters.
void sortCombinationRows(grid::TextGrid& table);

// Reverses the win entries of every row (each row's entries run from column
// 2 to its first empty cell, at most to lastColumn).
void reverseWinEntries(grid::TextGrid& table, int lastColumn);

}  // namespace kazuban::combos
