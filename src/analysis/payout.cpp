#include "analysis/payout.h"

#include <algorithm>
#include <cstdio>

#include "analysis/draws.h"
#include "analysis/odds.h"
#include "text/text.h"

namespace kazuban::analysis {

PayoutBacktest runPayoutBacktest(const std::vector<ComboMask>& combos, const history::DrawHistory& history,
                                 const history::PayoutTable& payouts, int from, int to) {
    PayoutBacktest b;
    b.combinations = static_cast<int>(combos.size());
    b.from = from;
    b.to = to;
    const SubsetCounts counts(combos);
    for (int n = std::max(from, 1); n <= std::min(to, history.maxn()); ++n) {
        const ComboMask m = mainMask(history, n);
        if (m == 0) continue;
        const auto p = payouts.find(n);
        if (p == payouts.end() || !p->second.hasPrizes()) {
            ++b.withoutPayouts;
            continue;
        }
        ++b.draws;
        const auto w = counts.winsIn(m, history.numbers[static_cast<std::size_t>(n)][5]);
        for (int g = 0; g < 4; ++g) {
            b.wins[g] += w[g];
            b.yen[g] += w[g] * p->second.prize(g + 1);
        }
    }
    for (int g = 0; g < 4; ++g) {
        b.totalWins += b.wins[g];
        b.totalYen += b.yen[g];
    }
    b.spent = static_cast<std::int64_t>(b.combinations) * b.draws * kTicketPrice;
    b.returnPercent = b.spent == 0 ? 0.0 : 100.0 * static_cast<double>(b.totalYen) / static_cast<double>(b.spent);
    return b;
}

std::string formatPayoutBacktest(const PayoutBacktest& b) {
    std::string out = "combinations," + std::to_string(b.combinations) + "\n";
    out += "draws," + std::to_string(b.draws) + "\n";
    out += "draws_without_payouts," + std::to_string(b.withoutPayouts) + "\n";
    out += "grade,wins,yen\n";
    for (int g = 0; g < 4; ++g)
        out += std::to_string(g + 1) + "," + std::to_string(b.wins[g]) + "," + std::to_string(b.yen[g]) + "\n";
    out += "total," + std::to_string(b.totalWins) + "," + std::to_string(b.totalYen) + "\n";
    out += "spent," + std::to_string(b.spent) + "\n";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", b.returnPercent);
    out += "return_percent," + std::string(buf) + "\n";
    return out;
}

namespace {

std::string percent(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return std::string(buf) + "%";
}

}  // namespace

PayoutTexts payoutTexts(const PayoutBacktest& b, const Odds& odds, const Prizes& prizes, bool haveFile) {
    PayoutTexts t;
    const std::string range = "第" + text::intText(b.from) + "回～第" + text::intText(b.to) + "回";
    if (!haveFile) {
        t.summary = std::string("払戻金のデータ（atarikin.csv）がありません。") + kPayoutDataHint;
        return t;
    }
    if (b.draws == 0) {
        t.summary = range + "には払戻金のデータがある回がありません。" + kPayoutDataHint;
        return t;
    }
    t.figures = true;
    double expectedTotal = 0;
    for (int g = 0; g < 4; ++g) {
        const auto k = static_cast<std::size_t>(g);
        const double expected = expectedWinsPerDraw(odds, g) * b.draws * static_cast<double>(prizes.yen[k]);
        expectedTotal += expected;
        t.rows[k] = {groupedText(b.wins[k]), groupedText(b.yen[k]) + "円", groupedDecimalText(expected, 0) + "円"};
    }
    t.rows[4] = {groupedText(b.totalWins), groupedText(b.totalYen) + "円", groupedDecimalText(expectedTotal, 0) + "円"};
    if (b.spent == 0) {
        t.summary = "組合せがないので、購入額も払戻額も 0円です。";
        return t;
    }
    t.summary = "払戻金のわかる " + groupedText(b.draws) + " 回：購入額 " + groupedText(b.spent) + "円、払戻 " +
                groupedText(b.totalYen) + "円、還元率 " + percent(b.returnPercent) + "（当せん金欄の額での期待値 " +
                percent(expectedReturn(odds, prizes).ratePercent) + "）。";
    if (b.withoutPayouts > 0)
        t.summary += "払戻金のデータがない " + groupedText(b.withoutPayouts) + " 回は除きました。";
    return t;
}

}  // namespace kazuban::analysis
