// The back-test: its counts against the classic win entries and a plain
// comparison, the draws it leaves out, and the figures of chance.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "analysis/backtest.h"
#include "analysis/odds_page.h"
#include "combos/combination_table.h"
#include "combos/evaluation.h"
#include "platform/headless_platform.h"
#include "support/history_gen.h"

namespace kazuban::analysis {
namespace {

using testing::Draw;

history::DrawHistory historyOf(const std::vector<std::string>& drawTexts) {
    std::vector<std::string> lines{std::string(testing::kHistoryHeader)};
    for (std::size_t i = 0; i < drawTexts.size(); ++i)
        lines.push_back("第" + std::to_string(i + 1) + "回=" + drawTexts[i]);
    return history::historyFromLines(lines).history;
}

ComboMask maskOf(const std::array<int, 5>& numbers) {
    ComboMask m = 0;
    for (int n : numbers) m |= ComboMask{1} << n;
    return m;
}

std::array<int, 5> randomCombo(std::mt19937& rng) {
    ComboMask m = 0;
    while (std::popcount(m) < 5) m |= ComboMask{1} << (1 + rng() % 31);
    std::array<int, 5> c{};
    for (int k = 0; k < 5; ++k) {
        c[static_cast<std::size_t>(k)] = std::countr_zero(m);
        m &= m - 1;
    }
    return c;
}

TEST(Backtest, CountsEqualTheWinEntriesOfTheTable) {
    // Rows in the field form, some written out of order, against a synthetic
    // history: the table's own evaluation and the back-test give the same wins.
    const auto draws = testing::syntheticDraws(3000, 7);
    std::vector<std::string> texts;
    for (const Draw& d : draws) texts.push_back(testing::makeDrawText(d));
    const history::DrawHistory h = historyOf(texts);

    std::mt19937 rng(11);
    grid::TextGrid table;
    combos::layoutTable(table, h.maxn());
    std::vector<ComboMask> combos;
    for (int r = 1; r <= 300; ++r) {
        // Every fifth row takes the five main numbers of a draw, reversed, so
        // that grades 1 and 2 occur.
        std::array<int, 5> c = randomCombo(rng);
        if (r % 5 == 0) {
            const Draw& d = draws[static_cast<std::size_t>(rng() % draws.size())];
            c = {d[4], d[3], d[2], d[1], d[0]};
            if (r % 10 == 0) c[0] = d[5];  // the bonus for one main number: grade 2
        }
        table.setCell(r, 1, testing::makeComboText(c));
        combos.push_back(maskOf(c));
    }
    platform::HeadlessPlatform quiet;
    quiet.printMessages = false;
    combos::evaluateWinEntries(table, h, h.maxn(), quiet);
    std::array<std::int64_t, kGradeRows> entries{};
    for (int r = 1; r <= 300; ++r)
        for (int c = combos::kFirstWinColumn; c < table.cols() && !table.cell(r, c).empty(); ++c) {
            const std::string& e = table.cell(r, c);
            ++entries[static_cast<std::size_t>(e.back() - '1')];
            ++entries[kAnyGrade];
        }
    ASSERT_GT(entries[0], 0);
    ASSERT_GT(entries[1], 0);

    const Backtest b = runBacktest(combos, computeOdds(combos), h, 1, h.maxn());
    EXPECT_EQ(b.draws, 3000);
    EXPECT_EQ(b.leftOut, 0);
    for (std::size_t g = 0; g < kGradeRows; ++g) EXPECT_EQ(b.grade[g].actual, entries[g]) << "grade " << g + 1;

    // A part of the range: a plain comparison of every row with every draw.
    const SubsetCounts counts(combos);
    std::array<std::int64_t, kGradeRows> plain{};
    for (int n = 1200; n <= 2100; ++n) {
        const Draw& d = draws[static_cast<std::size_t>(n - 1)];
        const ComboMask m = maskOf({d[0], d[1], d[2], d[3], d[4]});
        for (ComboMask t : combos) {
            const int shared = std::popcount(t & m);
            const int g = shared == 5 ? 1 : shared == 4 ? ((t >> d[5]) & 1 ? 2 : 3) : shared == 3 ? 4 : 0;
            if (g == 0) continue;
            ++plain[static_cast<std::size_t>(g - 1)];
            ++plain[kAnyGrade];
        }
    }
    int counted = 0;
    EXPECT_EQ(countWins(counts, h, 1200, 2100, &counted), plain);
    EXPECT_EQ(counted, 901);
}

TEST(Backtest, InvalidDrawsAreLeftOutAndLeadingZeroRowsCountByValue) {
    const history::DrawHistory h = historyOf({
        " 3, 9,14,22,30, 1",  // grade 1 for the row below
        "03, 9,14,22,30, 1",  // a leading zero: the loader takes it, the back-test leaves it out
        " 3, 9,14,22,31,30",  // grade 2
        " 3, 9,14,22",        // too short: never a draw
        " 3, 9,14, 1, 2,30",  // grade 4
    });
    const std::vector<ComboMask> combos = {maskOf({3, 9, 14, 22, 30})};
    const Backtest b = runBacktest(combos, computeOdds(combos), h, 1, 5);
    EXPECT_EQ(b.draws, 3);
    EXPECT_EQ(b.leftOut, 2);
    EXPECT_EQ(b.grade[0].actual, 1);
    EXPECT_EQ(b.grade[1].actual, 1);
    EXPECT_EQ(b.grade[2].actual, 0);
    EXPECT_EQ(b.grade[3].actual, 1);
    EXPECT_EQ(b.grade[kAnyGrade].actual, 3);
    EXPECT_EQ(drawsText(b), "第1回～第5回の 3 回（当選番号の形が正しくない 2 回は除きました）");

    // Chance for one combination over 3 draws, grade 4: p = 84,500 / 4,417,686.
    const double p = 84500.0 / 4417686.0;
    EXPECT_DOUBLE_EQ(b.grade[3].expected, 3 * p);
    EXPECT_NEAR(b.grade[3].sd, std::sqrt(3 * p * (1 - p)), 1e-12);
    EXPECT_NEAR(b.grade[3].z, (1 - 3 * p) / std::sqrt(3 * p * (1 - p)), 1e-9);
    const auto rows = backtestRowTexts(b);
    EXPECT_EQ(rows[3].expected, "0.06");
    EXPECT_EQ(rows[3].sd, "±0.24");
    EXPECT_EQ(rows[3].verdict, "偶然より多い");  // z = 3.9

    // A z that rounds to nothing reads 0.00 on the tab, never -0.00.
    Backtest tiny = b;
    tiny.grade[3].z = -0.004;
    EXPECT_EQ(backtestRowTexts(tiny)[3].z, "0.00");
    tiny.grade[3].z = -0.006;
    EXPECT_EQ(backtestRowTexts(tiny)[3].z, "-0.01");
}

TEST(Backtest, NothingToCountGivesZerosNotErrors) {
    const history::DrawHistory h = historyOf({" 1, 2, 3, 4, 5, 6"});
    // No combinations.
    Backtest b = runBacktest({}, computeOdds({}), h, 1, 1);
    EXPECT_EQ(b.draws, 1);
    for (const auto& g : b.grade) {
        EXPECT_EQ(g.actual, 0);
        EXPECT_EQ(g.sd, 0);
        EXPECT_EQ(g.z, 0);
    }
    // No valid draw in the range.
    const std::vector<ComboMask> combos = {maskOf({1, 2, 3, 4, 5})};
    b = runBacktest(combos, computeOdds(combos), historyOf({"01, 2, 3, 4, 5, 6"}), 1, 1);
    EXPECT_EQ(b.draws, 0);
    EXPECT_EQ(b.leftOut, 1);
    EXPECT_EQ(formatBacktest(b),
              "combinations,1\ndraws,0\ngrade,actual,expected,sd,z\n1,0,0.000000,0.000000,0.000\n"
              "2,0,0.000000,0.000000,0.000\n3,0,0.000000,0.000000,0.000\n4,0,0.000000,0.000000,0.000\n"
              "any,0,0.000000,0.000000,0.000\n");
}

TEST(Backtest, RangesAndVerdicts) {
    EXPECT_TRUE(isValidRange(1, 1, 1));
    EXPECT_TRUE(isValidRange(3, 1400, 1400));
    EXPECT_FALSE(isValidRange(0, 10, 1400));
    EXPECT_FALSE(isValidRange(11, 10, 1400));
    EXPECT_FALSE(isValidRange(1, 1401, 1400));
    EXPECT_FALSE(isValidRange(1, 0, 0));
    EXPECT_EQ(verdictText(1.999), "偶然の範囲内");
    EXPECT_EQ(verdictText(-1.999), "偶然の範囲内");
    EXPECT_EQ(verdictText(2.0), "偶然より多い");
    EXPECT_EQ(verdictText(-2.0), "偶然より少ない");
}

TEST(OddsPage, TheRangeFollowsTheHistoryAndRefusalsLeaveNoFigures) {
    auto historyOfDraws = [](int n) {
        std::vector<std::string> texts;
        for (const Draw& d : testing::syntheticDraws(n, 3)) texts.push_back(testing::makeDrawText(d));
        return historyOf(texts);
    };
    const history::DrawHistory h10 = historyOfDraws(10), h12 = historyOfDraws(12), h6 = historyOfDraws(6);
    const std::vector<std::string> table = {" 1, 2, 3, 4, 5", "", "03, 4, 5, 6, 7"};
    OddsPage page;
    EXPECT_EQ(refreshOddsPage(page, table, h10), SnapshotStatus::Ok);
    EXPECT_TRUE(page.ready);
    EXPECT_EQ(page.odds.combinations, 2);
    EXPECT_EQ(page.backtest.draws, 10);
    EXPECT_EQ(std::make_pair(page.from, page.to), std::make_pair(1, 10));

    // A range that ends at the last draw grows with the history; another stays.
    EXPECT_TRUE(setOddsRange(page, 4, 10, h10));
    EXPECT_EQ(page.backtest.draws, 7);
    refreshOddsPage(page, table, h12);
    EXPECT_EQ(std::make_pair(page.from, page.to), std::make_pair(4, 12));
    EXPECT_TRUE(setOddsRange(page, 4, 9, h12));
    refreshOddsPage(page, table, h12);
    EXPECT_EQ(std::make_pair(page.from, page.to), std::make_pair(4, 9));
    // One that no longer fits becomes the whole history.
    refreshOddsPage(page, table, h6);
    EXPECT_EQ(std::make_pair(page.from, page.to), std::make_pair(1, 6));
    EXPECT_FALSE(setOddsRange(page, 5, 7, h6));
    EXPECT_FALSE(setOddsRange(page, 0, 3, h6));
    EXPECT_EQ(std::make_pair(page.from, page.to), std::make_pair(1, 6));

    EXPECT_FALSE(setPrize(page, 1, -1));
    EXPECT_FALSE(setPrize(page, 1, kMaxPrize + 1));
    EXPECT_FALSE(setPrize(page, 5, 100));
    EXPECT_TRUE(setPrize(page, 4, kMaxPrize));
    EXPECT_EQ(page.prizes.yen[3], kMaxPrize);

    // A row twice is two tickets: twice the cost and twice the return.
    refreshOddsPage(page, {" 3, 9,14,22,30", "", "03, 9,14,22,30"}, h6);
    const ExpectedReturn one = expectedReturn(computeOdds({maskOf({3, 9, 14, 22, 30})}), Prizes{});
    const ExpectedReturn two = expectedReturn(page.odds, Prizes{});
    EXPECT_EQ(two.cost, 400);
    EXPECT_DOUBLE_EQ(two.perDraw, 2 * one.perDraw);
    EXPECT_DOUBLE_EQ(two.ratePercent, one.ratePercent);
    EXPECT_EQ(combinationsText(page.odds), "組合せ 2 口（異なる組合せ 1 口）");

    // A refused row: its message, no figures, and the range still set.
    EXPECT_EQ(refreshOddsPage(page, {" 1, 2, 3, 4, 5", "03, 3, 5, 6, 7"}, h6), SnapshotStatus::RepeatedValue);
    EXPECT_FALSE(page.ready);
    EXPECT_EQ(page.message, " データ番号 2 に、同じ数字が２回あります。");
    EXPECT_EQ(page.odds.combinations, 0);
    EXPECT_TRUE(setOddsRange(page, 2, 3, h6));
    EXPECT_EQ(page.backtest.draws, 0);  // nothing worked out without figures
}

}  // namespace
}  // namespace kazuban::analysis
