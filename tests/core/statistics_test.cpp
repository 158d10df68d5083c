#include <gtest/gtest.h>

#include <algorithm>

#include "history/statistics.h"
#include "support/history_gen.h"

namespace kazuban::history {
namespace {

using testing::Draw;

DrawHistory historyOf(const std::vector<Draw>& draws) { return historyFromLines(testing::historyLines(draws)).history; }

TEST(PairTable, AllSameHistoryAndPrefixes) {
    const DrawHistory h = historyOf(std::vector<Draw>(40, Draw{1, 2, 3, 4, 5, 6}));
    PairTable t{};
    buildPairTable(h, h.maxn(), t);
    EXPECT_EQ(t[1][1], 40);
    EXPECT_EQ(t[1][6], 40);
    EXPECT_EQ(t[6][1], 40);
    EXPECT_EQ(t[1][7], 0);
    buildPairTable(h, 10, t);
    EXPECT_EQ(t[3][5], 10);
    buildPairTable(h, 0, t);
    for (int x = 1; x <= 31; ++x)
        for (int y = 1; y <= 31; ++y) ASSERT_EQ(t[x][y], 0);
    buildPairTable(h, 1000, t);  // past the end: the whole history
    EXPECT_EQ(t[2][2], 40);
}

TEST(PairTable, MatchesDirectCountSkipsBadDrawsAndGrows) {
    const auto draws = testing::syntheticDraws(300, 11);
    auto lines = testing::historyLines(draws);
    lines[50] = "第50回=40,41,42,43,44,45";  // a bad draw counts nowhere
    const DrawHistory h = historyFromLines(lines).history;
    PairTable expected{};
    for (int d = 1; d <= 300; ++d) {
        if (d == 50) continue;
        const auto& v = draws[static_cast<std::size_t>(d) - 1];
        for (int a : v)
            for (int b : v) ++expected[a][b];
    }
    PairTable full{};
    buildPairTable(h, 300, full);
    EXPECT_EQ(full, expected);
    // A prefix table grown one draw at a time reaches the full table.
    PairTable grown{};
    buildPairTable(h, 120, grown);
    for (int d = 121; d <= 300; ++d) addDrawToPairTable(h, d, grown);
    EXPECT_EQ(grown, full);
    addDrawToPairTable(h, 0, grown);
    addDrawToPairTable(h, 301, grown);
    EXPECT_EQ(grown, full);
    // Row and column 0 are not numbers: a rebuild leaves them alone.
    full[0][5] = 77;
    buildPairTable(h, 300, full);
    EXPECT_EQ(full[0][5], 77);
}

TEST(RecentRanking, TiesKeepAscendingNumberOrder) {
    // Draws 1..21 hold 26..31 only; window 1 = draws 22..28.
    std::vector<Draw> draws(21, Draw{26, 27, 28, 29, 30, 31});
    const std::vector<Draw> latest{{3, 10, 25, 1, 2, 4},     {3, 10, 11, 12, 13, 14}, {3, 10, 15, 16, 17, 18},
                                   {19, 20, 21, 22, 23, 24}, {5, 6, 7, 8, 9, 1},      {5, 6, 7, 8, 9, 2},
                                   {11, 12, 13, 14, 15, 16}};
    draws.insert(draws.end(), latest.begin(), latest.end());
    const RecentRanking r = buildRanking(historyOf(draws));
    EXPECT_EQ(r.number[1][1], 3);  // 3 and 10 three times each: the smaller first
    EXPECT_EQ(r.count[1][1], 3);
    EXPECT_EQ(r.number[1][2], 10);
    EXPECT_EQ(r.number[1][3], 1);  // then the numbers seen twice, ascending
    std::vector<int> tail;         // never seen: last, count 0, ascending
    for (int k = 26; k <= 31; ++k) {
        EXPECT_EQ(r.count[1][k], 0);
        tail.push_back(r.number[1][k]);
    }
    EXPECT_EQ(tail, (std::vector<int>{26, 27, 28, 29, 30, 31}));
    // Windows 2 and 3 (draws 15..21, 8..14): 26..31 seven times each, then 1.. in order.
    EXPECT_EQ(r.number[2][1], 26);
    EXPECT_EQ(r.count[2][1], 7);
    EXPECT_EQ(r.number[3][7], 1);
}

TEST(RecentRanking, ShortHistoriesUseOnlyTheDrawsThatExist) {
    // 10 draws: window 1 = draws 4..10, window 2 = draws 1..3, window 3 none.
    std::vector<Draw> draws(3, Draw{1, 2, 3, 4, 5, 6});
    draws.insert(draws.end(), 7, Draw{7, 8, 9, 10, 11, 12});
    const RecentRanking r = buildRanking(historyOf(draws));
    EXPECT_EQ(r.number[1][1], 7);
    EXPECT_EQ(r.count[1][1], 7);
    EXPECT_EQ(r.number[2][1], 1);
    EXPECT_EQ(r.count[2][1], 3);
    for (int k = 1; k <= 31; ++k) {
        EXPECT_EQ(r.count[3][k], 0);
        EXPECT_EQ(r.number[3][k], k);
    }
    EXPECT_EQ(buildRanking(historyFromLines({"header"}).history).number[1][31], 31);
}

}  // namespace
}  // namespace kazuban::history
