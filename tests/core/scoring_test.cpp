#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "text/text.h"
#include "views/scoring.h"

namespace kazuban::views {
namespace {

// A table in which each of the numbers `nums` appears `own` times and every
// pair of them `pair` times, so each of the five rates is pair * 4 / own / 2.
history::PairTable uniformTable(std::initializer_list<int> nums, int own, int pair) {
    history::PairTable p{};
    for (int a : nums)
        for (int b : nums) p[a][b] = a == b ? own : pair;
    return p;
}

TEST(Scoring, PairRateRoundsTheSinglePrecisionAverageToThreeDecimals) {
    const std::string c = " 1, 2, 3, 4, 5";
    // avg 0.33372: Str gives .33422.., cut to .3342, shown as 0.334.
    PairScore a = pairScore(c, uniformTable({1, 2, 3, 4, 5}, 50000, 8343));
    EXPECT_EQ(a.rateText, "0.334");
    EXPECT_EQ(a.pairSum, 83430);
    // avg 0.19955: .20005.. cut to .2000, whose Str is .2.
    EXPECT_EQ(pairScore(c, uniformTable({1, 2, 3, 4, 5}, 40000, 3991)).rateText, "0.2");
    // A number the history never drew adds rate 0 instead of dividing by zero.
    PairScore empty = pairScore(c, history::PairTable{});
    EXPECT_EQ(empty.rateText, "0.000");
    EXPECT_EQ(empty.pairSum, 0);
}

TEST(Scoring, PairRateComparesFieldsAsTexts) {
    // " 3" and "03" are different fields of the same number: each counts the
    // other through the diagonal P(3, 3).
    history::PairTable p{};
    p[3][3] = 4;
    const PairScore s = pairScore(" 3,03,10,11,12", p);
    EXPECT_EQ(s.pairSum, 4);              // 0.5 * (4 + 4)
    EXPECT_EQ(s.rateText, "0.200");       // (0.5 + 0.5) / 5
    // The same field twice is never paired with itself.
    EXPECT_EQ(pairScore(" 3, 3,10,11,12", p).pairSum, 0);
}

TEST(Scoring, TripleRateCutsToFourDecimals) {
    EXPECT_EQ(tripleRateText(3, 160), "0.0188");
    EXPECT_EQ(tripleRateText(12, 160), "0.0750");
    EXPECT_EQ(tripleRateText(0, 160), "0.0000");   // plain decimal form, no exponent
    EXPECT_EQ(tripleRateText(5, 0), "0");
}

TEST(Scoring, SumOddEvenAndDistribution) {
    const auto p = uniformTable({1, 2, 3, 4, 5, 6, 7, 12, 13, 31}, 10, 2);
    RowScores s;
    ASSERT_TRUE(scoreCombination(" 1, 2, 3, 4, 5", WinSummary{}, p, s));
    EXPECT_EQ(s.sum, "15");
    EXPECT_EQ(s.oddEven, "3:2");
    EXPECT_EQ(s.distribution, "5:0:0:0:0");
    EXPECT_EQ(s.wins, "0");
    EXPECT_EQ(s.latest, "0");
    EXPECT_EQ(s.best, "0");
    EXPECT_EQ(s.tripleRate, "0.0000");

    ASSERT_TRUE(scoreCombination(" 6, 7,12,13,31", WinSummary{}, p, s));
    EXPECT_EQ(s.sum, "69");
    EXPECT_EQ(s.oddEven, "3:2");
    EXPECT_EQ(s.distribution, "1:2:1:0:1");
    // Every bin edge: 6|7, 12|13, 18|19, 24|25.
    ASSERT_TRUE(scoreCombination(" 6,12,18,24,25", WinSummary{}, p, s));
    EXPECT_EQ(s.distribution, "1:1:1:1:1");
    EXPECT_EQ(s.oddEven, "1:4");
}

TEST(Scoring, ShortOrMalformedTextsAreSafe) {
    const auto p = uniformTable({1, 2, 3, 4, 5}, 10, 2);
    RowScores s;
    EXPECT_FALSE(scoreCombination("", WinSummary{}, p, s));
    EXPECT_FALSE(scoreCombination(" 1, 2, 3, 4, ", WinSummary{}, p, s));   // 13 characters
    // Numbers outside the table, letters, full-width characters: scored, no crash.
    EXPECT_TRUE(scoreCombination("99,-1,ab, 4, 5", WinSummary{}, p, s));
    EXPECT_EQ(s.sum, "107");
    EXPECT_TRUE(scoreCombination("１２,１２,１２,１２,１２", WinSummary{}, p, s));
    EXPECT_EQ(s.sum, "0");
    EXPECT_EQ(s.tripleRate, "0");
}

TEST(Scoring, WinSummaryReadsEntriesUpToTheFirstEmptyCell) {
    grid::TextGrid t(3, 10, 1, 2);
    t.setCell(1, 2, "12=4");
    t.setCell(1, 3, "40=3");
    t.setCell(1, 4, "7=2");
    t.setCell(1, 6, "99=1");   // after the gap: not an entry
    WinSummary w = summarizeWinEntries(t, 1, 9);
    EXPECT_EQ(w.count, 3);
    EXPECT_EQ(w.latest, 40);
    EXPECT_EQ(w.best, 2);
    // The walk stops past the last column.
    w = summarizeWinEntries(t, 1, 3);
    EXPECT_EQ(w.count, 2);
    EXPECT_EQ(w.best, 3);
    w = summarizeWinEntries(t, 2, 9);
    EXPECT_EQ(w.count, 0);
    EXPECT_EQ(w.best, 10);

    RowScores s;
    scoreCombination(" 1, 2, 3, 4, 5", summarizeWinEntries(t, 1, 9), uniformTable({1, 2, 3, 4, 5}, 16, 4), s);
    EXPECT_EQ(s.wins, "3");
    EXPECT_EQ(s.latest, "40");
    EXPECT_EQ(s.best, "2");
    EXPECT_EQ(s.tripleRate, "0.0750");   // y = 3 * 10000 / 40
}

TEST(Scoring, QuickStrIsStr) {
    std::vector<double> values = {0, 1, 12, 187.5, 0.3342, 0.0005, 0.00005, 0.0188, 0.07505, 0.33422000885009766,
                                  0.20005000281333923, 1.0005, 999999999999999, 1e15, 1e-15, 1.5e-16, 123456.789,
                                  0.1 + 0.2, 2.0 / 3, 1e14 + 0.5, -3, -0.5};
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(0, 2.5), wide(0, 1e7);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(unit(rng));
        values.push_back(wide(rng));
        values.push_back(std::floor(wide(rng)) / 10000 + 0.00005);
        values.push_back(static_cast<double>(static_cast<float>(unit(rng))) + 0.0005);
    }
    for (double v : values) ASSERT_EQ(quickStr(v), text::Str(v)) << v;
}

}  // namespace
}  // namespace kazuban::views
