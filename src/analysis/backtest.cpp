#include "analysis/backtest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/draws.h"
#include "text/text.h"

namespace kazuban::analysis {

namespace {

const char* const kGradeNames[kGradeRows] = {"1等", "2等", "3等", "4等", "いずれか"};

std::string printed(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

}  // namespace

bool isValidRange(int from, int to, int maxn) { return from >= 1 && from <= to && to <= maxn; }

std::string rangeMessage(int maxn) {
    return "回の範囲は 1 ≦ 開始 ≦ 終了 ≦ " + text::intText(maxn) + " で指定してください。";
}

std::array<std::int64_t, kGradeRows> countWins(const SubsetCounts& counts, const history::DrawHistory& history,
                                               int from, int to, int* draws, int* leftOut, const ProgressFn& progress) {
    std::array<std::int64_t, kGradeRows> wins{};
    int counted = 0, skipped = 0;
    from = std::max(from, 1);
    to = std::min(to, history.maxn());
    constexpr int kStep = 1024;
    for (int n = from; n <= to; ++n) {
        const ComboMask m = mainMask(history, n);
        if (m == 0) {
            ++skipped;
            continue;
        }
        ++counted;
        const auto w = counts.winsIn(m, history.numbers[static_cast<std::size_t>(n)][5]);
        for (std::size_t g = 0; g < 4; ++g) {
            wins[g] += w[g];
            wins[kAnyGrade] += w[g];
        }
        if (progress && (n - from) % kStep == kStep - 1) progress(n - from + 1, to - from + 1);
    }
    if (draws) *draws = counted;
    if (leftOut) *leftOut = skipped;
    return wins;
}

Backtest runBacktest(const std::vector<ComboMask>& combos, const Odds& odds, const history::DrawHistory& history,
                     int from, int to, const ProgressFn& progress) {
    Backtest b;
    b.combinations = static_cast<int>(combos.size());
    b.from = from;
    b.to = to;
    const SubsetCounts counts(combos);
    const auto actual = countWins(counts, history, from, to, &b.draws, &b.leftOut, progress);
    const double n = static_cast<double>(kOutcomes);
    const double d = b.draws;
    for (std::size_t g = 0; g < kGradeRows; ++g) {
        GradeBacktest& x = b.grade[g];
        const double wins = static_cast<double>(odds.grade[g].wins);
        const double squares = static_cast<double>(odds.grade[g].winsSquared);
        x.actual = actual[g];
        // In exactly this order, so that every program gets the same bits.
        x.expected = d * wins / n;
        const double q = wins / n;
        x.sd = std::sqrt(d * (squares / n - q * q));
        x.z = x.sd == 0 ? 0.0 : (static_cast<double>(x.actual) - x.expected) / x.sd;
    }
    return b;
}

std::string formatBacktest(const Backtest& b) {
    static const char* const kNames[kGradeRows] = {"1", "2", "3", "4", "any"};
    std::string out = "combinations," + std::to_string(b.combinations) + "\n";
    out += "draws," + std::to_string(b.draws) + "\n";
    out += "grade,actual,expected,sd,z\n";
    for (std::size_t g = 0; g < kGradeRows; ++g) {
        const GradeBacktest& x = b.grade[g];
        out += std::string(kNames[g]) + "," + std::to_string(x.actual) + "," + printed("%.6f", x.expected) + "," +
               printed("%.6f", x.sd) + "," + (x.sd == 0 ? std::string("0.000") : printed("%.3f", x.z)) + "\n";
    }
    return out;
}

std::string verdictText(double z) {
    if (std::fabs(z) < 2) return "偶然の範囲内";
    return z > 0 ? "偶然より多い" : "偶然より少ない";
}

std::array<BacktestRowTexts, kGradeRows> backtestRowTexts(const Backtest& b) {
    std::array<BacktestRowTexts, kGradeRows> rows;
    for (std::size_t g = 0; g < kGradeRows; ++g) {
        const GradeBacktest& x = b.grade[g];
        BacktestRowTexts& r = rows[g];
        r.grade = kGradeNames[g];
        r.actual = groupedText(x.actual);
        r.expected = groupedDecimalText(x.expected, 2);
        r.sd = "±" + groupedDecimalText(x.sd, 2);
        r.z = printed("%.2f", x.z);
        // A z that rounds to nothing has no sign on the tab.
        if (r.z == "-0.00") r.z = "0.00";
        r.verdict = verdictText(x.z);
    }
    return rows;
}

std::string drawsText(const Backtest& b) {
    std::string s =
        "第" + text::intText(b.from) + "回～第" + text::intText(b.to) + "回の " + groupedText(b.draws) + " 回";
    if (b.leftOut > 0) s += "（当選番号の形が正しくない " + groupedText(b.leftOut) + " 回は除きました）";
    return s;
}

}  // namespace kazuban::analysis
