// The back-test in yen against a hand count.
#include <gtest/gtest.h>

#include "analysis/payout.h"
#include "support/history_gen.h"

namespace kazuban::analysis {
namespace {

history::DrawHistory historyOf(const std::vector<std::string>& drawTexts) {
    std::vector<std::string> lines{std::string(testing::kHistoryHeader)};
    for (const auto& t : drawTexts) lines.push_back("第1回=" + t);
    return history::historyFromLines(lines).history;
}

ComboMask maskOf(std::initializer_list<int> numbers) {
    ComboMask m = 0;
    for (int n : numbers) m |= ComboMask{1} << n;
    return m;
}

history::DrawPayout prizes(std::initializer_list<std::int64_t> yen) {
    history::DrawPayout p;
    int k = history::kPrizeField;
    for (auto y : yen) p.fields[k++] = y;
    return p;
}

TEST(PayoutBacktest, SumsThePrizesOfAHandCount) {
    const auto h = historyOf(
        {" 1, 2, 3, 4, 5, 6", "01, 2, 3, 4, 5, 6", " 1, 2, 3, 7, 8, 4", " 1, 2, 9,10,11,12", " 1, 2, 3, 4, 6, 5"});
    const history::PayoutTable table{{1, prizes({2000000, 60000, 1200, 1000})},
                                     {2, prizes({1, 1, 1, 1})},  // not a strict draw: never counts
                                     {3, prizes({3000000, 70000, 1500, 900})},
                                     {5, prizes({1, 1, 1})}};  // three prizes only
    const std::vector<ComboMask> combos{maskOf({1, 2, 3, 4, 5}), maskOf({1, 2, 3, 4, 6}), maskOf({1, 2, 3, 7, 9}),
                                        maskOf({20, 21, 22, 23, 24})};
    // Draw 1: grade 1, grade 2 (6 is the bonus), grade 4. Draw 3: grade 4 twice, grade 3 (9 is not the bonus).
    EXPECT_EQ(formatPayoutBacktest(runPayoutBacktest(combos, h, table, 1, 5)),
              "combinations,4\ndraws,2\ndraws_without_payouts,2\ngrade,wins,yen\n1,1,2000000\n2,1,60000\n"
              "3,1,1500\n4,3,2800\ntotal,6,2064300\nspent,1600\nreturn_percent,129018.75\n");
    // Nothing spent: no return rather than a division by zero.
    EXPECT_TRUE(
        formatPayoutBacktest(runPayoutBacktest(combos, h, {}, 1, 5)).ends_with("spent,0\nreturn_percent,0.00\n"));
}

TEST(PayoutBacktest, TheTabShowsTheYenBesideTheLongRunOrSaysWhereTheDataIs) {
    const auto h = historyOf({" 1, 2, 3, 4, 5, 6", " 1, 2, 3, 7, 8, 4", " 1, 2, 9,10,11,12"});
    const std::vector<ComboMask> combos{maskOf({1, 2, 3, 4, 5}), maskOf({1, 2, 3, 4, 6}), maskOf({1, 2, 3, 7, 9}),
                                        maskOf({20, 21, 22, 23, 24})};
    const Odds odds = computeOdds(combos);
    const Prizes typed;  // 10,000,000 / 150,000 / 10,000 / 1,000
    const history::PayoutTable table{{1, prizes({2000000, 60000, 1200, 1000})},
                                     {2, prizes({3000000, 70000, 1500, 900})}};
    const PayoutTexts t = payoutTexts(runPayoutBacktest(combos, h, table, 1, 3), odds, typed, true);
    ASSERT_TRUE(t.figures);
    // Four combinations in two draws: grade 1 is 4 x 2 x 26 / 4,417,686 wins at 10,000,000 yen
    // (470.8), grade 4 is 4 x 2 x 3,250 / 169,911 wins at 1,000 yen (153.0).
    EXPECT_EQ(t.rows[0].wins, "1");
    EXPECT_EQ(t.rows[0].yen, "2,000,000円");
    EXPECT_EQ(t.rows[0].expectedYen, "471円");
    EXPECT_EQ(t.rows[3].wins, "3");
    EXPECT_EQ(t.rows[3].yen, "2,800円");
    EXPECT_EQ(t.rows[3].expectedYen, "153円");
    EXPECT_EQ(t.rows[4].wins, "6");
    EXPECT_EQ(t.rows[4].yen, "2,064,300円");
    EXPECT_EQ(t.summary.substr(0, t.summary.find("（")),
              "払戻金のわかる 2 回：購入額 1,600円、払戻 2,064,300円、還元率 129018.8%");
    EXPECT_TRUE(t.summary.ends_with("）。払戻金のデータがない 1 回は除きました。")) << t.summary;

    // No file, or none of the range's draws with its prizes: where to get them.
    const PayoutTexts none = payoutTexts(runPayoutBacktest(combos, h, {}, 1, 3), odds, typed, false);
    EXPECT_FALSE(none.figures);
    EXPECT_EQ(none.summary, std::string("払戻金のデータ（atarikin.csv）がありません。") + kPayoutDataHint);
    const PayoutTexts outside = payoutTexts(runPayoutBacktest(combos, h, table, 3, 3), odds, typed, true);
    EXPECT_FALSE(outside.figures);
    EXPECT_EQ(outside.summary, std::string("第3回～第3回には払戻金のデータがある回がありません。") + kPayoutDataHint);
}

}  // namespace
}  // namespace kazuban::analysis
