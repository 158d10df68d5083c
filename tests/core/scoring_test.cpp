#include <gtest/gtest.h>

#include "text/text.h"
#include "views/scoring.h"

namespace kazuban::views {
namespace {

// Each of `nums` drawn `own` times, each pair of them `pair` times: every one
// of the five rates is 4 * pair / own / 2.
history::PairTable uniformTable(std::initializer_list<int> nums, int own, int pair) {
    history::PairTable p{};
    for (int a : nums)
        for (int b : nums) p[a][b] = a == b ? own : pair;
    return p;
}

TEST(Scoring, PairAndTripleRatesFollowTheWorkedExamples) {
    const std::string c = " 1, 2, 3, 4, 5";
    // avg 0.33372 -> .33422.. -> .3342 -> 0.334; avg 0.19955 -> .20005.. -> .2000 -> 0.2
    const PairScore a = pairScore(c, uniformTable({1, 2, 3, 4, 5}, 50000, 8343));
    EXPECT_EQ(a.rateText, "0.334");
    EXPECT_EQ(a.pairSum, 83430);
    EXPECT_EQ(pairScore(c, uniformTable({1, 2, 3, 4, 5}, 40000, 3991)).rateText, "0.2");
    // Numbers never drawn add rate 0 rather than dividing by zero.
    EXPECT_EQ(pairScore(c, history::PairTable{}).rateText, "0.000");

    EXPECT_EQ(tripleRateText(3, 160), "0.0188");
    EXPECT_EQ(tripleRateText(12, 160), "0.0750");
    EXPECT_EQ(tripleRateText(0, 160), "0.0000");  // plain decimal, no exponent
    EXPECT_EQ(tripleRateText(5, 0), "0");
}

TEST(Scoring, PairRateComparesFieldsAsTexts) {
    // " 3" and "03" are different fields of one number: each counts the other
    // through the diagonal; the same field twice is never paired with itself.
    history::PairTable p{};
    p[3][3] = 4;
    const PairScore s = pairScore(" 3,03,10,11,12", p);
    EXPECT_EQ(s.pairSum, 4);
    EXPECT_EQ(s.rateText, "0.200");
    EXPECT_EQ(pairScore(" 3, 3,10,11,12", p).pairSum, 0);
}

TEST(Scoring, RowScores) {
    const auto p = uniformTable({1, 2, 3, 4, 5, 6, 7, 12, 13, 31}, 10, 2);
    RowScores s;
    ASSERT_TRUE(scoreCombination(" 1, 2, 3, 4, 5", WinSummary{}, p, s));
    EXPECT_EQ(s.sum + s.oddEven + s.distribution, "153:25:0:0:0:0");
    EXPECT_EQ(s.wins + s.latest + s.best + s.tripleRate, "0000.0000");
    ASSERT_TRUE(scoreCombination(" 6, 7,12,13,31", WinSummary{}, p, s));
    EXPECT_EQ(s.sum + s.oddEven + s.distribution, "693:21:2:1:0:1");
    ASSERT_TRUE(scoreCombination(" 6,12,18,24,25", WinSummary{}, p, s));  // every bin edge
    EXPECT_EQ(s.oddEven + s.distribution, "1:41:1:1:1:1");

    // Short texts are not scored; malformed ones are scored without harm.
    EXPECT_FALSE(scoreCombination(" 1, 2, 3, 4, ", WinSummary{}, p, s));
    EXPECT_TRUE(scoreCombination("99,-1,ab, 4, 5", WinSummary{}, p, s));
    EXPECT_EQ(s.sum, "107");
    EXPECT_TRUE(scoreCombination("１２,１２,１２,１２,１２", WinSummary{}, p, s));
    EXPECT_EQ(s.sum + s.tripleRate, "00");
}

TEST(Scoring, WinEntriesEndAtTheFirstEmptyCellOrTheLastColumn) {
    grid::TextGrid t(3, 10, 1, 2);
    for (const auto& [c, e] : {std::pair{2, "12=4"}, {3, "40=3"}, {4, "7=2"}, {6, "99=1"}}) t.setCell(1, c, e);
    WinSummary w = summarizeWinEntries(t, 1, 9);
    EXPECT_EQ(w.count, 3);
    EXPECT_EQ(w.latest, 40);
    EXPECT_EQ(w.best, 2);
    w = summarizeWinEntries(t, 1, 3);
    EXPECT_EQ(w.count, 2);
    EXPECT_EQ(w.best, 3);
    EXPECT_EQ(summarizeWinEntries(t, 2, 9).best, 10);
    // Texts the evaluation never writes still follow Val.
    w = WinSummary{};
    for (const char* e : {" 12 =3", "7", "=2", "x=1", "5=", "1234567890=4", "８=1"}) addWinEntry(w, e);
    EXPECT_EQ(w.count, 7);
    EXPECT_EQ(w.latest, 1234567890);
    EXPECT_EQ(w.best, 0);  // "7" has no "=": grade Val("7") = 7; "5=" gives 0
}

}  // namespace
}  // namespace kazuban::views
