#pragma once
// The exact chances of a set of combinations in the next draw.
//
// One draw is a main set M (five distinct numbers 1..31) and a bonus number b
// (one of the 26 numbers outside M): 169,911 x 26 = 4,417,686 equally likely
// outcomes. A combination T wins grade 1 when T = M; grade 2 when T shares
// exactly four numbers with M and b is T's fifth number; grade 3 when it
// shares four and b is not in T; grade 4 when it shares exactly three.
//
// For each grade (and for "any prize") the figures are sums over all outcomes
// o of X(o), the number of combinations that win in o: how many outcomes have
// X(o) >= 1, the sum of X(o) and the sum of X(o)^2. Duplicated combinations
// count twice in the sums and once in the outcomes.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/combination_values.h"

namespace kazuban::analysis {

inline constexpr std::int64_t kMainSets = 169'911;
inline constexpr std::int64_t kOutcomes = 4'417'686;
// Index 0..3 are grades 1..4, index 4 is "any prize".
inline constexpr int kAnyGrade = 4;
inline constexpr int kGradeRows = 5;

// Reports the advance of long work: `done` of `total` steps.
using ProgressFn = std::function<void(int done, int total)>;

struct GradeOdds {
    std::int64_t winningOutcomes = 0;  // outcomes in which at least one combination wins
    std::int64_t wins = 0;             // sum over outcomes of the winning combinations
    std::int64_t winsSquared = 0;      // sum of their squares
    bool operator==(const GradeOdds&) const = default;
};

struct Odds {
    int combinations = 0;  // rows counted, duplicates included
    int distinct = 0;      // distinct combinations among them
    std::array<GradeOdds, kGradeRows> grade{};
    bool operator==(const Odds&) const = default;
};

// The counts behind both the odds and the back-test: how many combinations
// hold each set of three, four and five numbers.
class SubsetCounts {
public:
    explicit SubsetCounts(const std::vector<ComboMask>& combos);

    // Combinations equal to the five-number set m.
    std::uint32_t fives(ComboMask m) const;
    // How many combinations win each grade (index 0..3) in the draw with main
    // set m and bonus number b (b outside m).
    std::array<std::int64_t, 4> winsIn(ComboMask m, int b) const;

    // Dense tables by colex rank of the sorted numbers (0-based).
    const std::vector<std::uint32_t>& threeTable() const { return three_; }
    const std::vector<std::uint32_t>& fourTable() const { return four_; }
    const std::vector<std::uint32_t>& fiveTable() const { return five_; }
    // Combinations sharing exactly 5, 4 and 3 numbers with the main set m.
    std::array<std::int64_t, 3> sharing(ComboMask m) const;

private:
    std::vector<std::uint32_t> three_, four_, five_;
};

// The exact figures, counted per main set from the subset counts (a few
// milliseconds for 1000 combinations).
Odds computeOdds(const std::vector<ComboMask>& combos, const ProgressFn& progress = {});
// The same figures by comparing every combination with every main set and
// walking the 26 bonus numbers: the reference the fast count is checked
// against.
Odds computeOddsByEnumeration(const std::vector<ComboMask>& combos);

// The figures in the command-line form (LF line ends, a final LF):
// "combinations,<n>", the header, one line per grade and "any".
std::string formatOdds(const Odds& odds);

// ---- what the figures mean to a player ----------------------------------------

// Prize amounts in yen for grades 1..4. The defaults are the published
// theoretical amounts; real prizes vary with sales and winners.
struct Prizes {
    std::array<std::int64_t, 4> yen{10'000'000, 150'000, 10'000, 1'000};
};
inline constexpr std::int64_t kMaxPrize = 10'000'000'000;
inline constexpr std::int64_t kCostPerCombination = 200;
inline constexpr int kDrawsPerYear = 52;

// The average over many draws of what the combinations pay back per draw,
// against what they cost.
struct ExpectedReturn {
    double perDraw = 0;      // yen
    std::int64_t cost = 0;   // yen, 200 a combination
    double ratePercent = 0;  // perDraw / cost x 100; 0 when nothing is bought
};
ExpectedReturn expectedReturn(const Odds& odds, const Prizes& prizes);

// The chance that at least one combination wins grade g in one draw, and in
// at least one of n draws.
double chanceInOneDraw(const Odds& odds, int g);
double chanceWithin(const Odds& odds, int g, int draws);
// Expected number of winning combinations per draw.
double expectedWinsPerDraw(const Odds& odds, int g);

// The texts of one row of the tab's odds table.
struct OddsRowTexts {
    std::string grade;       // "1等" .. "4等", "いずれか"
    std::string oneIn;       // "1/169,911"; "―" when there is no chance
    std::string percent;     // "0.000589%"
    std::string expected;    // expected winning combinations per draw
    std::string withinYear;  // chance within 52 draws, "%"
};
std::array<OddsRowTexts, kGradeRows> oddsRowTexts(const Odds& odds);

// "200 口（異なる組合せ 198 口）"
std::string combinationsText(const Odds& odds);
// The expected return as the tab states it, one sentence.
std::string expectedReturnText(const ExpectedReturn& r);

// Number texts shared by the tab's figures: a percentage with three
// significant digits (at least two decimals); "100.00%" only for a certainty,
// and "99.99%超" for a chance short of it that would round to 100 (the chance
// within a year can be 1.0 in a double and still not certain).
std::string percentText(double fraction, bool certain);
// "1/N" for `won` of `outcomes`: N whole from 10 on, else with two decimals
// at most ("1/1.02", "1/1.6") and more where the ratio is that close to 1, so
// a chance short of certainty never reads "1/1"; "―" for none.
std::string oneInText(std::int64_t won, std::int64_t outcomes);
std::string smallNumberText(double v);
std::string groupedText(std::int64_t v);
// v with `decimals` decimals and thousands separators: 26778.734 -> "26,778.73".
std::string groupedDecimalText(double v, int decimals);
std::string yenText(double yen);

}  // namespace kazuban::analysis
