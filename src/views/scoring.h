#pragma once
// The one scoring routine of the analysis views: the totals view (tab 1), the
// mark-sheet tiers (tab 2) and the pre-draw analysis (tab 4) all write their
// score texts through these functions, so the three agree character for
// character.
#include <string>
#include <string_view>

#include "grid/text_grid.h"
#include "history/statistics.h"

namespace kazuban::views {

// What the scores read from a list of win entries ("123=4", ...).
struct WinSummary {
    long long count = 0;  // number of entries
    double latest = 0;    // largest draw number, 0 for none
    double best = 10;     // smallest grade, 10 while there is none
};

// Adds one entry: the draw number is Val of the text up to the first "=",
// the grade Val of the one character after it.
void addWinEntry(WinSummary& summary, std::string_view entry);
// Adds a win of draw `draw` with grade `grade` (the fast paths, which know the
// numbers without writing the entry text).
inline void addWin(WinSummary& summary, double draw, double grade) {
    ++summary.count;
    if (draw > summary.latest) summary.latest = draw;
    if (grade < summary.best) summary.best = grade;
}
// Walks the entries of `row` from column 2 rightwards until the first empty
// cell or past `lastColumn`.
WinSummary summarizeWinEntries(const grid::TextGrid& table, int row, int lastColumn);

// The texts of score columns 2..9 of one combination.
struct RowScores {
    std::string sum;           // column 2
    std::string wins;          // column 3
    std::string latest;        // column 4
    std::string best;          // column 5
    std::string oddEven;       // column 6
    std::string pairRate;      // column 7
    std::string tripleRate;    // column 8
    std::string distribution;  // column 9
};

// The pair compatibility rate of a combination text and S, the sum of the
// pair counts over its ten pairs. A number the table has never seen
// (P(x, x) = 0) or a field that is no table index contributes rate 0.
struct PairScore {
    std::string rateText;  // "0" + four characters of the rounded average
    double pairSum = 0;    // S
};
PairScore pairScore(std::string_view combination, const history::PairTable& pairs);
// The triple compatibility rate from the win count and S ("0" when S = 0).
std::string tripleRateText(double wins, double pairSum);

// Scores a combination text. Returns false (and leaves `out` alone) when the
// text is shorter than 14 characters, which is never scored.
bool scoreCombination(std::string_view combination, const WinSummary& wins, const history::PairTable& pairs,
                      RowScores& out);
// Writes the scores into columns 2..9 of `row` of `view`; nothing for a short
// text. `combination` may be a cell of that row: it is read in full first.
bool scoreIntoGrid(grid::TextGrid& view, int row, std::string_view combination, const WinSummary& wins,
                   const history::PairTable& pairs);

}  // namespace kazuban::views
