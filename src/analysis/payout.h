#pragma once
// The back-test in yen: what the combinations would have won in past draws
// at the prizes those draws actually paid (atarikin.csv), beside what they
// would have cost.
//
// Draws count as in the back-test against chance (analysis/draws.h) and only
// when all four prizes of the draw are known; the valid draws of the range
// without them are left out and counted.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/combination_values.h"
#include "analysis/odds.h"
#include "history/draw_history.h"
#include "history/payout_table.h"

namespace kazuban::analysis {

inline constexpr std::int64_t kTicketPrice = 200;  // yen per combination and draw

struct PayoutBacktest {
    int combinations = 0;
    int from = 1, to = 0;                // the draw range asked for
    int draws = 0;                       // valid draws of the range with all four prizes (K)
    int withoutPayouts = 0;              // valid draws of the range without them (L)
    std::array<std::int64_t, 4> wins{};  // (combination, draw) pairs that won grade 1..4
    std::array<std::int64_t, 4> yen{};   // what they won
    std::int64_t totalWins = 0, totalYen = 0;
    std::int64_t spent = 0;    // combinations x K x kTicketPrice
    double returnPercent = 0;  // 100 x totalYen / spent; 0 when nothing was spent
};

PayoutBacktest runPayoutBacktest(const std::vector<ComboMask>& combos, const history::DrawHistory& history,
                                 const history::PayoutTable& payouts, int from, int to);

// The command-line form (LF line ends, a final LF).
std::string formatPayoutBacktest(const PayoutBacktest& b);

// The tab's section in yen: per grade and in total (index 4) the wins, the
// yen they won, and beside them what the same draws would pay on average at
// the prize amounts typed on the tab (`odds` of the same combinations).
struct PayoutRowTexts {
    std::string wins, yen, expectedYen;
};
struct PayoutTexts {
    bool figures = false;  // the rows hold figures; otherwise only the summary speaks
    std::array<PayoutRowTexts, 5> rows;
    std::string summary;
};
// `haveFile`: atarikin.csv exists. Without it, or without a draw of the
// range that has its prizes, the summary says how to get the data.
PayoutTexts payoutTexts(const PayoutBacktest& b, const Odds& odds, const Prizes& prizes, bool haveFile);

inline constexpr const char* kPayoutDataHint =
    "◇当選番号 → 取り込み… で払戻金の入った全回の CSV を、または ◇当選番号 → 最新結果を取得 で"
    "みずほ銀行の回別ファイルを取り込むと、実際の払戻金で検証できます。";

}  // namespace kazuban::analysis
