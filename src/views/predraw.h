#pragma once
// The pre-draw analysis of tab 4: every draw from the 51st on scored as a
// combination held just before it.
//
// Each draw's scores need only three things from its win entries against the
// earlier draws: their count, the latest draw among them and the best grade.
// The fast analysis grows the prefix pair table and an index of the earlier
// draws by their three-, four- and five-number subsets one draw at a time, so
// a draw's summary costs a few dozen table reads instead of a walk over every
// earlier draw. `predrawLiteral` walks the draws one by one, rebuilding the
// pair table for each; it is the reference the fast one is checked against.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/text_grid.h"
#include "history/draw_history.h"
#include "views/scoring.h"

namespace kazuban::platform {
class Platform;
}

namespace kazuban::views {

inline constexpr int kPredrawFirstDraw = 51;

// What the analysis keeps between its steps (never a dense N x N/10 grid):
// the win summary of each draw's numbers against the draws before it. Emptied
// at every tab selection, filled by the analysis.
struct PredrawState {
    std::vector<WinSummary> wins;  // index: draw number
    void reset() {
        wins.clear();
        wins.shrink_to_fit();
    }
};

// The earlier draws, indexed for the summary of a combination text against them.
class PredrawIndex {
public:
    PredrawIndex();
    // Adds draw d. Invalid draws match nothing and are left out; a valid draw
    // whose text is not in the regular form is kept for a literal comparison.
    void add(const history::DrawHistory& h, int d);
    // The summary of the win entries of `combination` against every draw added.
    WinSummary query(const history::DrawHistory& h, std::string_view combination) const;

private:
    struct Regular {
        int draw;
        std::uint32_t mainMask;
        std::uint32_t bonusMask;
    };
    static constexpr int kMaxIndexedDraw = 65535;
    // By the rank of a sorted number subset: how many draws hold the triple
    // (and the latest of them) or the quadruple among their main numbers;
    // per five numbers, how many draws have exactly these main numbers, and
    // how many have four of them and the fifth as their bonus.
    struct Quint {
        std::uint16_t draws = 0;
        std::uint16_t bonusWins = 0;
    };
    std::vector<std::uint16_t> count3_, last3_, count4_;
    std::vector<Quint> quint_;
    std::vector<Regular> regular_;
    std::vector<int> irregular_;
};

// The grade (1..4) of combination text c against the draw text t, 0 for none:
// the number of t's five main fields found in c, and for four of them whether
// t's last two characters are found in c.
int literalGrade(std::string_view c, std::string_view t);
// Draw a's winning-numbers text: its history text without the last three characters.
std::string winningNumbersText(const history::DrawHistory& h, int a);

// Columns 2..9 of `row` from the winning-numbers text in its column 1, the
// summary of that draw's win entries against the earlier draws and the
// prefix pair table of those draws; nothing for a text shorter than 14 characters.
void scorePredrawRow(grid::TextGrid& view, int row, const WinSummary& wins, const history::PairTable& pairsBefore);

// Sets the grid to n + 1 rows, empties it, writes headers, widths, centring
// and the draw numbers 1..n into column 0.
void buildPredrawGrid(grid::TextGrid& view, int n);
// Runs the analysis over draws 51..n into `view` (already built by
// buildPredrawGrid): scores, font size, draws newest first in rows 1..n - 50.
// `progress` (may be null) sees 51..n.
void runPredrawAnalysis(const history::DrawHistory& h, int n, grid::TextGrid& view, PredrawState& state,
                        platform::Platform* progress);
// The same result by the literal steps (quadratic; the test and benchmark reference).
grid::TextGrid predrawLiteral(const history::DrawHistory& h, int n);

}  // namespace kazuban::views
