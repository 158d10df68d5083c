#pragma once
// The back-test against chance: how often the combinations won in a range of
// past draws, beside what chance alone gives over that many draws.
//
// Only draws in the strict field form count (analysis/draws.h); the others in
// the range are left out and counted. A combination wins by the grades of the
// outcome model (analysis/odds.h), numbers by their values.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/combination_values.h"
#include "analysis/odds.h"
#include "history/draw_history.h"

namespace kazuban::analysis {

struct GradeBacktest {
    std::int64_t actual = 0;  // (combination, draw) pairs that won
    double expected = 0;      // d x wins / N
    double sd = 0;            // sqrt(d x (wins_squared / N - q x q)), q = wins / N
    double z = 0;             // (actual - expected) / sd; 0 when sd = 0
};

struct Backtest {
    int combinations = 0;
    int from = 1, to = 0;  // the draw range asked for
    int draws = 0;         // valid draws in the range (d)
    int leftOut = 0;       // draws in the range that are not valid draws
    std::array<GradeBacktest, kGradeRows> grade{};
};

// 1 <= from <= to <= maxn.
bool isValidRange(int from, int to, int maxn);
// The message for a range outside the history.
std::string rangeMessage(int maxn);

// Wins per grade (index 0..3, 4 = any) of the combinations in the valid draws
// from..to (clamped to the history), and the number of those draws.
std::array<std::int64_t, kGradeRows> countWins(const SubsetCounts& counts, const history::DrawHistory& history,
                                               int from, int to, int* draws = nullptr, int* leftOut = nullptr,
                                               const ProgressFn& progress = {});

// The back-test of `combos` over draws from..to, with `odds` their figures.
Backtest runBacktest(const std::vector<ComboMask>& combos, const Odds& odds, const history::DrawHistory& history,
                     int from, int to, const ProgressFn& progress = {});

// The command-line form (LF line ends, a final LF).
std::string formatBacktest(const Backtest& b);

// ---- the tab's texts -------------------------------------------------------------

// "偶然の範囲内" when |z| < 2, otherwise "偶然より多い" or "偶然より少ない".
std::string verdictText(double z);

struct BacktestRowTexts {
    std::string grade;     // "1等" .. "4等", "いずれか"
    std::string actual;    // "5,518"
    std::string expected;  // "5,571.62"
    std::string sd;        // "±74.40"
    std::string z;         // "-0.72"
    std::string verdict;
};
std::array<BacktestRowTexts, kGradeRows> backtestRowTexts(const Backtest& b);

// "第1回～第1400回の 1,400 回" and, when draws were left out, how many.
std::string drawsText(const Backtest& b);

}  // namespace kazuban::analysis
