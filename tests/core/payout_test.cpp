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

}  // namespace
}  // namespace kazuban::analysis
