#pragma once
// Combination files: plain text, one combination text a line. Read as cp932
// or UTF-8 with any line end; written as cp932 with CR LF, atomically.
#include <filesystem>
#include <string>
#include <vector>

#include "grid/text_grid.h"
#include "platform/platform.h"

namespace kazuban::combos {

inline constexpr const char* kComboFileFilter = "ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*";

// The open and save dialogs: the filter above, extension "txt", the data
// folder when one is set; the save dialog asks before replacing a file.
platform::FileDialogOptions comboFileDialog(const std::filesystem::path& datadir, bool save);
// "<file> は存在しないﾌｧｲﾙです。"
std::string missingFileMessage(const std::filesystem::path& file);

// The lines of the file, unchanged (empty and malformed lines included), up
// to the 1000 the table can hold, and how many of the later lines hold more
// than blanks: those are never read, and the player is told.
// Throws AppError when the file cannot be read.
struct ComboFileLines {
    std::vector<std::string> lines;
    std::size_t unread = 0;
};
ComboFileLines readCombinationFile(const std::filesystem::path& file);
// "1000 行を超えた N 行は読み込みませんでした。"
std::string unreadLinesMessage(std::size_t unread);
// Line i goes to column 1 of row s + i; lines past row 1000 are dropped.
// Returns the number of lines placed.
int placeLines(grid::TextGrid& table, int s, const std::vector<std::string>& lines);

// Lines added to a table that holds rows already: line i goes to the i-th
// empty row from the first empty row on, filled rows are passed over and
// never written. Returns the number of lines that found no empty row (dropped).
int placeInEmptyRows(grid::TextGrid& table, const std::vector<std::string>& lines);
// "N 行は空きがないため追加しませんでした。"
std::string droppedLinesMessage(int dropped);

// The non-empty column-1 texts of rows 1..1000, in row order.
std::vector<std::string> tableLines(const grid::TextGrid& table);
// Writes tableLines(table). Throws AppError (nothing written when a text
// cannot be held by cp932 or the disk fails; an old file stays whole).
void writeCombinationFile(const std::filesystem::path& file, const grid::TextGrid& table);

}  // namespace kazuban::combos
