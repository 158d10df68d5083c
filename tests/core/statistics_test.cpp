#include <gtest/gtest.h>

#include "history/statistics.h"
#include "support/history_gen.h"

namespace kazuban::history {
namespace {

using testing::Draw;

DrawHistory historyOf(const std::vector<Draw>& draws) { return historyFromLines(testing::historyLines(draws)).history; }

// Straightforward count over the draws, for comparison.
PairTable referencePairs(const std::vector<Draw>& draws, int n) {
    PairTable t{};
    for (int d = 0; d < n; ++d)
        for (int x = 1; x <= 31; ++x)
            for (int y = 1; y <= 31; ++y) {
                const auto& v = draws[static_cast<std::size_t>(d)];
                const bool hasX = std::find(v.begin(), v.end(), x) != v.end();
                const bool hasY = std::find(v.begin(), v.end(), y) != v.end();
                if (hasX && hasY) ++t[x][y];
            }
    return t;
}

TEST(PairTable, AllSameHistory) {
    const DrawHistory h = historyOf(std::vector<Draw>(40, Draw{1, 2, 3, 4, 5, 6}));
    PairTable t{};
    buildPairTable(h, h.maxn(), t);
    EXPECT_EQ(t[1][1], 40);
    EXPECT_EQ(t[1][6], 40);
    EXPECT_EQ(t[6][1], 40);
    EXPECT_EQ(t[1][7], 0);
    EXPECT_EQ(t[7][7], 0);
    // Prefix tables; n = 0 and n past the end.
    buildPairTable(h, 10, t);
    EXPECT_EQ(t[3][5], 10);
    buildPairTable(h, 0, t);
    for (int x = 1; x <= 31; ++x)
        for (int y = 1; y <= 31; ++y) ASSERT_EQ(t[x][y], 0);
    buildPairTable(h, 1000, t);
    EXPECT_EQ(t[2][2], 40);
}

TEST(PairTable, MatchesDirectCountAndGrowsDrawByDraw) {
    const auto draws = testing::syntheticDraws(300, 11);
    const DrawHistory h = historyOf(draws);
    PairTable full{};
    buildPairTable(h, 300, full);
    EXPECT_EQ(full, referencePairs(draws, 300));
    PairTable before{};
    buildPairTable(h, 120, before);
    EXPECT_EQ(before, referencePairs(draws, 120));
    // Growing a prefix table one draw at a time reaches the full table.
    for (int d = 121; d <= 300; ++d) addDrawToPairTable(h, d, before);
    EXPECT_EQ(before, full);
    // Row and column 0 are not numbers: a rebuild leaves them alone.
    full[0][5] = 77;
    buildPairTable(h, 300, full);
    EXPECT_EQ(full[0][5], 77);
}

TEST(PairTable, SkipsInvalidDraws) {
    auto lines = testing::historyLines({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}});
    lines.push_back("第3回=40,41,42,43,44,45");
    lines.push_back("第4回= 1, 2");
    const DrawHistory h = historyFromLines(lines).history;
    PairTable t{};
    buildPairTable(h, h.maxn(), t);
    EXPECT_EQ(t[1][1], 2);
    addDrawToPairTable(h, 3, t);
    addDrawToPairTable(h, 0, t);
    addDrawToPairTable(h, 99, t);
    EXPECT_EQ(t[1][2], 2);
}

TEST(RecentRanking, TiesKeepAscendingNumberOrder) {
    // Window 1 = draws 22..28: 10 and 3 three times each, 25 once, the rest 0.
    std::vector<Draw> draws(21, Draw{26, 27, 28, 29, 30, 31});
    const std::vector<Draw> latest{{3, 10, 25, 1, 2, 4}, {3, 10, 11, 12, 13, 14}, {3, 10, 15, 16, 17, 18},
                                   {19, 20, 21, 22, 23, 24}, {5, 6, 7, 8, 9, 1},
                                   {5, 6, 7, 8, 9, 2}, {11, 12, 13, 14, 15, 16}};
    draws.insert(draws.end(), latest.begin(), latest.end());
    const RecentRanking r = buildRanking(historyOf(draws));
    // Counts in window 1: 1, 2, 3(x3), 10(x3), 5..9 (x2), 11..16 (x2), ...
    EXPECT_EQ(r.number[1][1], 3);
    EXPECT_EQ(r.count[1][1], 3);
    EXPECT_EQ(r.number[1][2], 10);
    // Numbers that never came up follow in ascending order, count 0.
    int firstZero = 1;
    while (firstZero <= 31 && r.count[1][firstZero] > 0) ++firstZero;
    std::vector<int> zeros;
    for (int k = firstZero; k <= 31; ++k) {
        EXPECT_EQ(r.count[1][k], 0);
        zeros.push_back(r.number[1][k]);
    }
    EXPECT_EQ(zeros, (std::vector<int>{26, 27, 28, 29, 30, 31}));
    // Counts never rise down the ranking; each window is a permutation of 1..31.
    for (int w = 1; w <= 3; ++w) {
        std::vector<int> seen(32, 0);
        for (int k = 1; k <= 31; ++k) {
            ++seen[static_cast<std::size_t>(r.number[w][k])];
            if (k > 1) {
                EXPECT_GE(r.count[w][k - 1], r.count[w][k]);
            }
        }
        for (int n = 1; n <= 31; ++n) EXPECT_EQ(seen[static_cast<std::size_t>(n)], 1);
    }
    // Windows 2 and 3 (draws 15..21 and 8..14) hold only 26..31, seven times each.
    EXPECT_EQ(r.number[2][1], 26);
    EXPECT_EQ(r.count[2][1], 7);
    EXPECT_EQ(r.number[3][6], 31);
    EXPECT_EQ(r.number[3][7], 1);
}

TEST(RecentRanking, ShortHistoriesUseOnlyTheDrawsThatExist) {
    // 10 draws: window 1 = draws 4..10, window 2 = draws 1..3, window 3 empty.
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
    // Header only: nothing counted, ranks in number order.
    const RecentRanking none = buildRanking(historyFromLines({"header"}).history);
    EXPECT_EQ(none.number[1][31], 31);
    EXPECT_EQ(none.count[1][1], 0);
}

TEST(RecentRanking, SortMovesOnlyOnStrictlySmallerCounts) {
    RecentRanking r;
    for (int k = 1; k <= 31; ++k) {
        r.number[2][k] = static_cast<std::int16_t>(k);
        r.count[2][k] = static_cast<std::int16_t>(k % 3);   // 1, 2, 0, 1, 2, 0, ...
    }
    sortRecentWindow(r, 2);
    EXPECT_EQ(r.number[2][1], 2);
    EXPECT_EQ(r.number[2][2], 5);
    EXPECT_EQ(r.number[2][11], 1);
    EXPECT_EQ(r.number[2][31], 30);
    sortRecentWindow(r, 0);   // out of range: ignored
    sortRecentWindow(r, 4);
}

}  // namespace
}  // namespace kazuban::history
