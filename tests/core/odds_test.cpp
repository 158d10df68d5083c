// The exact odds of a set of combinations: the fast count against a walk over
// every outcome, the table snapshot, and the texts of the tab.
#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "analysis/combination_values.h"
#include "analysis/odds.h"

namespace kazuban::analysis {
namespace {

ComboMask mask(std::initializer_list<int> numbers) {
    ComboMask m = 0;
    for (int n : numbers) m |= ComboMask{1} << n;
    return m;
}

// Every one of the 4,417,686 outcomes, every combination, the grade table
// read literally. Slow: only for a few combinations.
Odds oddsByEveryOutcome(const std::vector<ComboMask>& combos) {
    Odds odds;
    odds.combinations = static_cast<int>(combos.size());
    std::vector<ComboMask> mainSets;
    for (int a = 1; a <= 31; ++a)
        for (int b = a + 1; b <= 31; ++b)
            for (int c = b + 1; c <= 31; ++c)
                for (int d = c + 1; d <= 31; ++d)
                    for (int e = d + 1; e <= 31; ++e) mainSets.push_back(mask({a, b, c, d, e}));
    EXPECT_EQ(static_cast<std::int64_t>(mainSets.size()), kMainSets);
    for (ComboMask m : mainSets) {
        for (int b = 1; b <= 31; ++b) {
            if (m & (1u << b)) continue;
            std::int64_t x[kGradeRows] = {};
            for (ComboMask t : combos) {
                const int shared = std::popcount(t & m);
                int g = 0;
                if (t == m) g = 1;
                else if (shared == 4) g = (t & (1u << b)) ? 2 : 3;
                else if (shared == 3) g = 4;
                if (g == 0) continue;
                ++x[g - 1];
                ++x[kAnyGrade];
            }
            for (std::size_t g = 0; g < kGradeRows; ++g) {
                odds.grade[g].winningOutcomes += x[g] > 0;
                odds.grade[g].wins += x[g];
                odds.grade[g].winsSquared += x[g] * x[g];
            }
        }
    }
    return odds;
}

void expectSameFigures(const Odds& a, const Odds& b, const std::string& what) {
    for (std::size_t g = 0; g < kGradeRows; ++g) {
        EXPECT_EQ(a.grade[g].winningOutcomes, b.grade[g].winningOutcomes) << what << " grade " << g + 1;
        EXPECT_EQ(a.grade[g].wins, b.grade[g].wins) << what << " grade " << g + 1;
        EXPECT_EQ(a.grade[g].winsSquared, b.grade[g].winsSquared) << what << " grade " << g + 1;
    }
}

TEST(Odds, SmallTablesAgreeWithEveryOutcome) {
    const ComboMask t = mask({3, 9, 14, 22, 30});
    // One combination: 26, 130, 3,250 and 84,500 winning outcomes.
    const Odds one = computeOdds({t});
    const std::int64_t single[kGradeRows] = {26, 130, 3250, 84500, 87906};
    for (std::size_t g = 0; g < kGradeRows; ++g) {
        EXPECT_EQ(one.grade[g], (GradeOdds{single[g], single[g], single[g]})) << g;
    }
    EXPECT_EQ(one.combinations, 1);
    EXPECT_EQ(one.distinct, 1);

    // Rows sharing four numbers (with different fifth numbers, and with the
    // same one), a duplicated row, a row far from the others.
    const std::vector<std::vector<ComboMask>> tables = {
        {t},
        {t, mask({3, 9, 14, 22, 31}), t, mask({1, 9, 14, 22, 30}), mask({1, 9, 14, 22, 31}), mask({1, 2, 3, 4, 5})},
    };
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const Odds slow = oddsByEveryOutcome(tables[i]);
        expectSameFigures(computeOdds(tables[i]), slow, "fast, table " + std::to_string(i));
        expectSameFigures(computeOddsByEnumeration(tables[i]), slow, "per main set, table " + std::to_string(i));
    }

    // A duplicate counts twice in the sums and once in the winning outcomes.
    const Odds twice = computeOdds({t, t});
    EXPECT_EQ(twice.distinct, 1);
    EXPECT_EQ(twice.grade[0], (GradeOdds{26, 52, 104}));
    EXPECT_EQ(twice.grade[kAnyGrade].winningOutcomes, 87906);
    // Two rows sharing four numbers both win grade 2 or 3 in the four
    // outcomes where the main set is their union less a shared number and
    // the bonus that number.
    const Odds pair = computeOdds({t, mask({3, 9, 14, 22, 31})});
    EXPECT_EQ(pair.grade[1].winningOutcomes, 2 * 130 - 4);
    EXPECT_EQ(pair.grade[1].winsSquared, 2 * 130 + 2 * 4);
}

TEST(Odds, FastCountEqualsTheWalkOverMainSetsOnRandomTables) {
    std::mt19937 rng(20240611);
    // Numbers from a narrow pool make shared subsets and duplicates common;
    // the full range checks the far ends of the ranks.
    for (const int pool : {9, 12, 31}) {
        for (const int rows : {pool == 9 ? 0 : 7, 40}) {
            std::vector<ComboMask> combos;
            while (static_cast<int>(combos.size()) < rows) {
                ComboMask m = 0;
                while (std::popcount(m) < 5) m |= ComboMask{1} << (1 + rng() % pool);
                combos.push_back(m);
            }
            const std::string what = "pool " + std::to_string(pool) + ", rows " + std::to_string(rows);
            const Odds fast = computeOdds(combos), reference = computeOddsByEnumeration(combos);
            expectSameFigures(fast, reference, what);
            EXPECT_EQ(fast.distinct, reference.distinct) << what;
        }
    }
}

TEST(Odds, ProgressReachesTheEnd) {
    int last = 0, total = 0, calls = 0;
    computeOdds({mask({1, 2, 3, 4, 5})}, [&](int done, int of) {
        EXPECT_GT(done, last);
        last = done;
        total = of;
        ++calls;
    });
    EXPECT_GT(calls, 1);
    EXPECT_EQ(last, total);
}

TEST(Snapshot, ReadsValuesAndRefusesRowsInTheTablesOrder) {
    // Values, not texts: a leading zero is the same number.
    Snapshot s = takeSnapshot({"03, 9,14,22,30", "", "30,22,14, 9, 3", " 3, 9,14,22,30"});
    ASSERT_EQ(s.status, SnapshotStatus::Ok);
    EXPECT_EQ(s.combos,
              (std::vector<ComboMask>{mask({3, 9, 14, 22, 30}), mask({3, 9, 14, 22, 30}), mask({3, 9, 14, 22, 30})}));

    // A row that passes the table's rules but names 3 twice.
    s = takeSnapshot({" 1, 2, 3, 4, 5", "03, 3,14,22,30"});
    EXPECT_EQ(s.status, SnapshotStatus::RepeatedValue);
    EXPECT_EQ(s.row, 2);
    EXPECT_TRUE(s.combos.empty());
    EXPECT_EQ(snapshotMessage(s), " データ番号 2 に、同じ数字が２回あります。");

    // A row that breaks the rules wins over an earlier repeated value, as
    // the table's own validation runs first.
    s = takeSnapshot({"03, 3,14,22,30", " 1, 2, 3, 4", " 1, 2, 3, 4,32"});
    EXPECT_EQ(s.status, SnapshotStatus::InvalidRow);
    EXPECT_EQ(s.row, 2);
    EXPECT_EQ(snapshotMessage(s), " データ番号 2 に、入力ミスがあります。");

    // Rows past 1000 are not part of the table.
    std::vector<std::string> texts(1001, " 1, 2, 3, 4, 5");
    texts[1000] = "junk";
    s = takeSnapshot(texts);
    EXPECT_EQ(s.status, SnapshotStatus::Ok);
    EXPECT_EQ(s.combos.size(), 1000u);
    EXPECT_EQ(takeSnapshot({}).combos.size(), 0u);
}

TEST(OddsTexts, OneCombinationAndAnEmptyTable) {
    const Odds one = computeOdds({mask({3, 9, 14, 22, 30})});
    const auto rows = oddsRowTexts(one);
    EXPECT_EQ(rows[0].oneIn, "1/169,911");
    EXPECT_EQ(rows[0].percent, "0.000589%");
    EXPECT_EQ(rows[1].oneIn, "1/33,982");
    EXPECT_EQ(rows[2].oneIn, "1/1,359");
    EXPECT_EQ(rows[3].oneIn, "1/52");
    EXPECT_EQ(rows[3].percent, "1.91%");
    EXPECT_EQ(rows[3].expected, "0.0191");
    // 1 - (1 - 3250/169911)^52 = 63.35 %
    EXPECT_EQ(rows[3].withinYear, "63.37%");
    EXPECT_EQ(rows[4].grade, "いずれか");
    EXPECT_EQ(rows[4].oneIn, "1/50");
    EXPECT_EQ(combinationsText(one), "組合せ 1 口（異なる組合せ 1 口）");

    // 396,500,000 yen over 4,417,686 outcomes: 89.75 yen per draw for 200 yen.
    const ExpectedReturn r = expectedReturn(one, Prizes{});
    EXPECT_NEAR(r.perDraw, 396'500'000.0 / 4'417'686.0, 1e-9);
    EXPECT_EQ(r.cost, 200);
    EXPECT_EQ(expectedReturnText(r),
              "購入額 200円（1口200円）に対して、払戻額は1回あたり平均 89.8円、還元率 44.9%です。"
              "多くの回を平均した値で、次の回の予想ではありません。");
    Prizes big;
    big.yen = {kMaxPrize, 0, 0, 0};
    EXPECT_NEAR(expectedReturn(one, big).perDraw, 1e10 / 169'911.0, 1e-6);

    const Odds none = computeOdds({});
    for (const auto& row : oddsRowTexts(none)) {
        EXPECT_EQ(row.oneIn, "―");
        EXPECT_EQ(row.percent, "0%");
        EXPECT_EQ(row.withinYear, "0%");
    }
    EXPECT_EQ(expectedReturn(none, Prizes{}).ratePercent, 0);
    EXPECT_EQ(expectedReturnText(expectedReturn(none, Prizes{})), "組合せがないので、購入額も払戻額も 0円です。");
}

TEST(OddsTexts, NumbersKeepTheirDigits) {
    EXPECT_EQ(groupedText(0), "0");
    EXPECT_EQ(groupedText(999), "999");
    EXPECT_EQ(groupedText(1000), "1,000");
    EXPECT_EQ(groupedText(10'000'000'000), "10,000,000,000");
    EXPECT_EQ(yenText(17950.94), "17,950.9円");
    EXPECT_EQ(yenText(999.96), "1,000.0円");
    EXPECT_EQ(groupedDecimalText(26778.734, 2), "26,778.73");
    EXPECT_EQ(groupedDecimalText(-1234.5, 2), "-1,234.50");
    EXPECT_EQ(groupedDecimalText(123.456, 2), "123.46");
    EXPECT_EQ(percentText(1.0 / 4'417'686, false), "0.0000226%");  // never the exponent form
    EXPECT_EQ(percentText(0.98116, false), "98.12%");
    EXPECT_EQ(percentText(0.99994, false), "99.99%");
    EXPECT_EQ(percentText(0.999999, false), "99.99%超");  // short of certainty, never 100%
    EXPECT_EQ(percentText(1.0, false), "99.99%超");       // a double that rounded up to 1
    EXPECT_EQ(percentText(1.0, true), "100.00%");
    // A ratio is never rounded to "1/1" short of certainty, nor given decimals from 10 on.
    EXPECT_EQ(oneInText(0, 4'417'686), "―");
    EXPECT_EQ(oneInText(4'417'686, 4'417'686), "1/1");
    EXPECT_EQ(oneInText(4'334'590, 4'417'686), "1/1.02");
    EXPECT_EQ(oneInText(4'417'685, 4'417'686), "1/1.0000002");
    EXPECT_EQ(oneInText(5, 8), "1/1.6");
    EXPECT_EQ(oneInText(100, 949), "1/9.49");
    EXPECT_EQ(oneInText(10, 125), "1/13");
    EXPECT_EQ(oneInText(26, 4'417'686), "1/169,911");
    EXPECT_EQ(oneInText(1, 100), "1/100");
}

}  // namespace
}  // namespace kazuban::analysis
