#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numeric>

#include "analysis/history_stats.h"
#include "support/history_gen.h"

namespace kazuban::analysis {
namespace {

using testing::Draw;

history::DrawHistory historyOf(const std::vector<std::string>& lines) {
    return history::historyFromLines(lines).history;
}

// Column `col` (1-based value column) of a section, summed over its rows.
double columnSum(const StatsSection& s, std::size_t col) {
    double total = 0;
    for (const auto& r : s.rows) total += r.values[col - 1];
    return total;
}

// Draws 1, 2, 4, 5 are strict; draw 3 is written with a leading zero.
const std::vector<std::string> kSmallHistory = {
    "回=本数字,ボーナス",      "第1回= 1, 2, 3, 4, 5, 6", "第2回= 2,10,11,12,13, 7",
    "第3回=01, 2, 3, 4, 5, 6", "第4回= 1,14,15,16,17, 8", "第5回= 2, 3,20,21,22, 9",
};

TEST(HistoryStats, GapsAndCarryOverOnAHandMadeHistory) {
    const auto h = historyOf(kSmallHistory);
    const HistoryStats s = computeHistoryStats(h);
    EXPECT_EQ(s.draws, 4);
    EXPECT_EQ(s.leftOut, 1);
    EXPECT_EQ(s.bonus[6], 1);   // the left-out draw 3 counts nowhere
    EXPECT_EQ(s.groups[0], 9);  // 1-5: five in draw 1, one in draws 2 and 4, two in draw 5
    EXPECT_EQ(s.consecutive[4], 1);
    // Window draws 1..4 are draws 1, 2, 4, 5.
    EXPECT_EQ(s.currentGap[31], 4);  // never drawn: the whole window
    EXPECT_EQ(s.longestGap[31], 4);
    EXPECT_EQ(s.currentGap[3], 0);  // only in the first and the last draw
    EXPECT_EQ(s.longestGap[3], 2);
    EXPECT_EQ(s.currentGap[5], 3);  // only in the first: the trailing run
    EXPECT_EQ(s.longestGap[5], 3);
    EXPECT_EQ(s.currentGap[14], 1);  // only in the third: the leading run is longest
    EXPECT_EQ(s.longestGap[14], 2);
    EXPECT_EQ(s.currentGap[2], 0);
    EXPECT_EQ(s.longestGap[2], 1);
    // Draw 2 follows draw 1 (sharing 2); draw 4 follows the left-out draw 3
    // and does not count; draw 5 shares nothing with draw 4.
    EXPECT_EQ(s.carryDraws, 2);
    EXPECT_EQ(s.carryOver[1], 1);
    EXPECT_EQ(s.carryOver[0], 1);

    // The last two strict draws are draws 4 and 5; a window beyond the
    // history is the whole history.
    const HistoryStats last2 = computeHistoryStats(h, 2);
    EXPECT_EQ(last2.draws, 2);
    EXPECT_EQ(last2.firstDraw, 4);
    EXPECT_EQ(last2.carryDraws, 1);
    EXPECT_EQ(last2.currentGap[1], 1);
    EXPECT_EQ(last2.longestGap[2], 1);
    EXPECT_EQ(analysisReport(computeHistoryStats(h, 5)), analysisReport(s));

    // No strict draw: every row is there, all zero.
    const HistoryStats none = computeHistoryStats(historyOf({"回=本数字,ボーナス", "第1回=01, 2, 3, 4, 5, 6"}));
    EXPECT_EQ(none.draws, 0);
    EXPECT_EQ(none.leftOut, 1);
    const std::string report = analysisReport(none);
    EXPECT_EQ(report.substr(0, 20), "draws,0\n[frequency]\n");
    EXPECT_NE(report.find("\n31,0,0,0.000000\n[odd_even]"), std::string::npos);
    EXPECT_NE(report.find("\n[gaps]\nnumber,current_gap,longest_gap\n1,0,0\n"), std::string::npos);
}

TEST(HistoryStats, ExpectedColumnsSumToTheWindowsTotals) {
    const auto h = history::historyFromLines(testing::syntheticHistoryLines(777, 5)).history;
    for (int last : {0, 1, 10, 300}) {
        const HistoryStats s = computeHistoryStats(h, last);
        const double w = s.draws;
        SCOPED_TRACE(last);
        for (Analysis a : {Analysis::OddEven, Analysis::Sum, Analysis::Range, Analysis::Consecutive}) {
            const StatsSection sec = statsSection(s, a);
            EXPECT_EQ(columnSum(sec, 1), w) << sec.name;
            EXPECT_NEAR(columnSum(sec, 2), w, 1e-9 * w) << sec.name;
        }
        const StatsSection freq = statsSection(s, Analysis::Frequency);
        EXPECT_EQ(columnSum(freq, 1), 5 * w);
        EXPECT_EQ(columnSum(freq, 2), w);
        EXPECT_NEAR(columnSum(freq, 3), 5 * w, 1e-9 * w);
        const StatsSection groups = statsSection(s, Analysis::Groups);
        EXPECT_EQ(columnSum(groups, 1), 5 * w);
        EXPECT_NEAR(columnSum(groups, 2), 5 * w, 1e-9 * w);
        const StatsSection carry = statsSection(s, Analysis::CarryOver);
        EXPECT_EQ(columnSum(carry, 1), s.carryDraws);
        EXPECT_NEAR(columnSum(carry, 2), s.carryDraws, 1e-9 * w);
    }
}

TEST(HistoryStats, ExpectationsMatchACountOfEveryFiveNumberSet) {
    // With W = 169,911 draws the expectations are the set counts themselves,
    // counted here directly.
    std::array<long long, 6> odd{}, carry{};
    std::array<long long, 31> range{};
    std::array<long long, 146> sum{};
    long long sets = 0;
    const std::uint32_t firstFive = 0b111110u;  // the set {1..5}
    for (std::uint32_t a = 1; a <= 31; ++a)
        for (std::uint32_t b = a + 1; b <= 31; ++b)
            for (std::uint32_t c = b + 1; c <= 31; ++c)
                for (std::uint32_t d = c + 1; d <= 31; ++d)
                    for (std::uint32_t e = d + 1; e <= 31; ++e) {
                        const std::uint32_t m = (1u << a) | (1u << b) | (1u << c) | (1u << d) | (1u << e);
                        ++sets;
                        ++odd[(a & 1) + (b & 1) + (c & 1) + (d & 1) + (e & 1)];
                        ++carry[static_cast<std::size_t>(std::popcount(m & firstFive))];
                        ++range[e - a];
                        ++sum[a + b + c + d + e];
                    }
    ASSERT_EQ(sets, kFiveSets);

    // The expectations depend on W and W' only.
    const auto h =
        history::historyFromLines(testing::historyLines(std::vector<Draw>(1, Draw{1, 2, 3, 4, 5, 6}))).history;
    HistoryStats s = computeHistoryStats(h);
    s.draws = kFiveSets;
    s.carryDraws = kFiveSets;
    auto expected = [&](Analysis a, std::size_t row) { return statsSection(s, a).rows[row].values[1]; };
    for (std::size_t k = 0; k <= 5; ++k) {
        EXPECT_DOUBLE_EQ(expected(Analysis::OddEven, k), static_cast<double>(odd[k])) << k;
        EXPECT_DOUBLE_EQ(expected(Analysis::CarryOver, k), static_cast<double>(carry[k])) << k;
    }
    for (std::size_t r = 4; r <= 30; ++r) EXPECT_DOUBLE_EQ(expected(Analysis::Range, r - 4), range[r]) << r;
    for (std::size_t t = 15; t <= 145; ++t) EXPECT_DOUBLE_EQ(expected(Analysis::Sum, t - 15), sum[t]) << t;
    EXPECT_DOUBLE_EQ(expected(Analysis::Consecutive, 4), 27.0);  // 27 runs n..n+4
}

TEST(HistoryStats, TableTextsForTheClipboardAndCsv) {
    const std::vector<std::vector<std::string>> rows = {{"数字", "本数字"}, {"1", "203"}, {"a,b", "say \"x\""}};
    EXPECT_EQ(tabSeparatedText(rows), "数字\t本数字\r\n1\t203\r\na,b\tsay \"x\"\r\n");
    EXPECT_EQ(csvText(rows), "数字,本数字\r\n1,203\r\n\"a,b\",\"say \"\"x\"\"\"\r\n");
    EXPECT_EQ(csvText({}), "");
}

}  // namespace
}  // namespace kazuban::analysis
