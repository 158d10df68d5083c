#pragma once
// The combination table: rows 1..1000 hold a combination text in column 1
// (" 3, 9,14,22,30") and its win entries from column 2 on; column 0 holds
// the data number. These functions work on the TextGrid that *is* the table.
#include <array>
#include <string>
#include <string_view>

#include "grid/text_grid.h"

namespace kazuban::combos {

inline constexpr int kDataRows = 1000;
inline constexpr int kFirstWinColumn = 2;
inline constexpr const char* kTableHeader = "組合せデータ";
inline constexpr const char* kTableFont = "ＭＳ ゴシック";
inline constexpr double kFontBeforeEvaluation = 11.25;

// floor(maxn * 0.1) + 20: the last win-entry column for maxn draws.
int baseLastWinColumn(int maxn);
// The last win-entry column of the table as it stands: never less than the
// base, more when the table was widened for a row with many entries.
int lastWinColumn(const grid::TextGrid& table, int maxn);
// Font size after an evaluation: 9 pt when maxn > 9999, else 11 pt.
double evaluatedFontSize(int maxn);

// Empties and lays out the table for maxn draws.
void layoutTable(grid::TextGrid& table, int maxn);
// Widens the table so that column lastColumn exists; new columns get their
// header (the decimal text of c - 1) and width 800. Never narrows.
void ensureWinColumns(grid::TextGrid& table, int lastColumn);

// True when at least one of rows 1..1000 holds a text in column 1.
bool hasCombinations(const grid::TextGrid& table);
// Whether one non-empty column-1 text passes the input rules (length 14,
// comma placement, numbers 1..31, no number written twice in the same form).
bool isValidCombination(std::string_view s);
// Data number of the first invalid non-empty row, 0 when all are valid.
int firstInvalidRow(const grid::TextGrid& table);
// " データ番号 12 に、入力ミスがあります。"
std::string inputErrorMessage(int row);

// The first row whose column 1 is empty (1..1000), or 1001 when all are filled.
int firstEmptyRow(const grid::TextGrid& table);

// How many rows won each grade (index 1..4) in draw d, read from the win
// entries in columns 2..lastColumn (each row's list ends at its first empty
// cell or at a cell without "=").
std::array<int, 5> prizeCounts(const grid::TextGrid& table, int d, int lastColumn);

}  // namespace kazuban::combos
