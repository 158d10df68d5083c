#pragma once
// The combination grid's pop-up commands on whole rows: copy, paste, delete;
// and the text typed into one row's combination cell.
#include <string>

#include "grid/text_grid.h"

namespace kazuban::combos {

// Column 1 of the rows between a and b (either order), each followed by CR LF.
std::string copyText(const grid::TextGrid& table, int rowA, int rowB);

// Pastes clipboard text from the anchor row down, normalising each line by
// the position of its first comma (see pasteText in editing.cpp). Lines
// ended by a lone LF count as ended by CR LF. An anchor on the header row
// pastes from row 1.
void pasteText(grid::TextGrid& table, std::string clip, int anchorRow);

// Empties columns 1..lastColumn of the data rows between a and b (either order).
void deleteRows(grid::TextGrid& table, int rowA, int rowB, int lastColumn);

// The text typed into a row's combination cell, in the table's form: five
// numbers of one or two digits separated by commas or blanks become
// " 3, 9,14,22,30", in the order typed. Any other text comes back as typed
// (trimmed of blanks at its ends), for the input check to judge; a blank
// text comes back empty.
std::string typedCombinationText(const std::string& typed);

}  // namespace kazuban::combos
