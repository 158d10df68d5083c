#include "analysis/odds.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

#include "analysis/binomials.h"

namespace kazuban::analysis {

namespace {

constexpr int C(int n, int k) { return kBinom.c[n][k]; }

static_assert(C(31, 5) == kMainSets);
constexpr int kThrees = C(31, 3);
constexpr int kFours = C(31, 4);

// The numbers of a mask as sorted 0-based values (number v -> v - 1).
int sortedValues(ComboMask m, int* out) {
    m &= 0xFFFFFFFEu;  // numbers 1..31 only
    int n = 0;
    while (m != 0 && n < 31) {
        out[n++] = std::countr_zero(m) - 1;
        m &= m - 1;
    }
    return n;
}

// Colex rank of k sorted 0-based values: sum of C(v_i, i + 1).
int colexRank(const int* v, int k) {
    int r = 0;
    for (int i = 0; i < k; ++i) r += C(v[i], i + 1);
    return r;
}

// The rank of v without the entries at positions skip1 and skip2 (-1: none).
int rankWithout(const int* v, int k, int skip1, int skip2 = -1) {
    int rest[5];
    int n = 0;
    for (int i = 0; i < k; ++i)
        if (i != skip1 && i != skip2) rest[n++] = v[i];
    return colexRank(rest, n);
}

// Colex rank of a five-number mask.
int rankOf(ComboMask m) {
    int v[32];
    return sortedValues(m, v) == 5 ? colexRank(v, 5) : 0;
}

constexpr int kBonusChoices = 26;

}  // namespace

// ---- subset counts ------------------------------------------------------------

SubsetCounts::SubsetCounts(const std::vector<ComboMask>& combos)
    : three_(static_cast<std::size_t>(kThrees)),
      four_(static_cast<std::size_t>(kFours)),
      five_(static_cast<std::size_t>(kMainSets)) {
    int v[32];
    for (ComboMask t : combos) {
        if (sortedValues(t, v) != 5) continue;
        ++five_[static_cast<std::size_t>(colexRank(v, 5))];
        for (int i = 0; i < 5; ++i) {
            ++four_[static_cast<std::size_t>(rankWithout(v, 5, i))];
            for (int j = i + 1; j < 5; ++j) ++three_[static_cast<std::size_t>(rankWithout(v, 5, i, j))];
        }
    }
}

std::uint32_t SubsetCounts::fives(ComboMask m) const {
    return std::popcount(m & 0xFFFFFFFEu) == 5 ? five_[static_cast<std::size_t>(rankOf(m))] : 0;
}

std::array<std::int64_t, 3> SubsetCounts::sharing(ComboMask m) const {
    int v[32];
    if (sortedValues(m, v) != 5) return {0, 0, 0};
    // n_k counts (combination, k numbers of m that it holds); with a_j the
    // combinations sharing exactly j numbers: n5 = a5, n4 = a4 + 5 a5,
    // n3 = a3 + 4 a4 + 10 a5.
    const std::int64_t n5 = five_[static_cast<std::size_t>(colexRank(v, 5))];
    std::int64_t n4 = 0, n3 = 0;
    for (int i = 0; i < 5; ++i) {
        n4 += four_[static_cast<std::size_t>(rankWithout(v, 5, i))];
        for (int j = i + 1; j < 5; ++j) n3 += three_[static_cast<std::size_t>(rankWithout(v, 5, i, j))];
    }
    const std::int64_t a5 = n5, a4 = n4 - 5 * n5, a3 = n3 - 4 * a4 - 10 * a5;
    return {a5, a4, a3};
}

std::array<std::int64_t, 4> SubsetCounts::winsIn(ComboMask m, int b) const {
    const auto [a5, a4, a3] = sharing(m);
    // Grade 2: the combinations made of four numbers of m and the bonus.
    std::int64_t second = 0;
    const ComboMask bonus = ComboMask{1} << b;
    for (ComboMask rest = m; rest != 0; rest &= rest - 1) second += fives((m & ~(rest & -rest)) | bonus);
    return {a5, second, a4 - second, a3};
}

// ---- the odds -----------------------------------------------------------------

Odds computeOdds(const std::vector<ComboMask>& combos, const ProgressFn& progress) {
    Odds odds;
    odds.combinations = static_cast<int>(combos.size());
    const SubsetCounts counts(combos);
    const std::uint32_t* d3 = counts.threeTable().data();
    const std::uint32_t* d4 = counts.fourTable().data();
    const std::uint32_t* d5 = counts.fiveTable().data();

    // Grades 1, 4 and "any" do not depend on the bonus number: X is the same
    // for the 26 outcomes of a main set. Grades 2 and 3 split the combinations
    // sharing four numbers (a4) by their fifth number; their totals follow
    // from a4 here, the rest from the six-number sets below.
    struct Sums {
        std::int64_t sets = 0, sum = 0, squares = 0;
        void add(std::int64_t x) {
            sets += x > 0;
            sum += x;
            squares += x * x;
        }
    } first, fourShared, fourth, any;
    // a4 of every main set by its rank, for the six-number sets below.
    std::vector<std::uint32_t> sharingFour(static_cast<std::size_t>(kMainSets));

    // Main sets {a < b < c < d < e} (0-based) in colex order: the rank of the
    // set is a + C(b,2) + C(c,3) + C(d,4) + C(e,5), so it rises by one with a.
    for (int e = 4; e < 31; ++e) {
        for (int d = 3; d < e; ++d) {
            for (int c = 2; c < d; ++c) {
                for (int b = 1; b < c; ++b) {
                    const int r5 = C(b, 2) + C(c, 3) + C(d, 4) + C(e, 5);
                    // Sets without a, and the parts of the ranks of sets with a.
                    const std::int64_t q0 = d4[C(b, 1) + C(c, 2) + C(d, 3) + C(e, 4)];
                    const std::int64_t t0 = d3[C(b, 1) + C(c, 2) + C(d, 3)] + d3[C(b, 1) + C(c, 2) + C(e, 3)] +
                                            d3[C(b, 1) + C(d, 2) + C(e, 3)] + d3[C(c, 1) + C(d, 2) + C(e, 3)];
                    const int qcde = C(c, 2) + C(d, 3) + C(e, 4), qbde = C(b, 2) + C(d, 3) + C(e, 4);
                    const int qbce = C(b, 2) + C(c, 3) + C(e, 4), qbcd = C(b, 2) + C(c, 3) + C(d, 4);
                    const int tbc = C(b, 2) + C(c, 3), tbd = C(b, 2) + C(d, 3), tbe = C(b, 2) + C(e, 3);
                    const int tcd = C(c, 2) + C(d, 3), tce = C(c, 2) + C(e, 3), tde = C(d, 2) + C(e, 3);
                    for (int a = 0; a < b; ++a) {
                        const std::int64_t n3 =
                            t0 + d3[a + tbc] + d3[a + tbd] + d3[a + tbe] + d3[a + tcd] + d3[a + tce] + d3[a + tde];
                        if (n3 == 0) continue;  // no combination shares three numbers or more
                        const std::int64_t n5 = d5[a + r5];
                        const std::int64_t n4 = q0 + d4[a + qcde] + d4[a + qbde] + d4[a + qbce] + d4[a + qbcd];
                        const std::int64_t a5 = n5, a4 = n4 - 5 * n5, a3 = n3 - 4 * a4 - 10 * a5;
                        sharingFour[static_cast<std::size_t>(a + r5)] = static_cast<std::uint32_t>(a4);
                        first.add(a5);
                        fourShared.add(a4);
                        fourth.add(a3);
                        any.add(a5 + a4 + a3);
                    }
                }
            }
        }
        if (progress) progress(e - 3, 27);
    }

    // Grade 2 in outcome (M, b): the combinations inside the six-number set
    // Z = M + b other than M itself. Only the sets Z that hold a combination
    // matter, at most 26 per distinct combination.
    std::vector<ComboMask> distinct = combos;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    odds.distinct = static_cast<int>(distinct.size());
    std::vector<ComboMask> sixes;
    sixes.reserve(distinct.size() * kBonusChoices);
    constexpr ComboMask kAllNumbers = 0xFFFFFFFEu;
    for (ComboMask t : distinct)
        for (ComboMask out = kAllNumbers & ~t; out != 0; out &= out - 1) sixes.push_back(t | (out & -out));
    std::sort(sixes.begin(), sixes.end());
    sixes.erase(std::unique(sixes.begin(), sixes.end()), sixes.end());

    std::int64_t secondSets = 0, secondSquares = 0, thirdAlwaysWon = 0;
    for (ComboMask z : sixes) {
        std::int64_t inside = 0;  // combinations inside z
        std::uint32_t held[6];
        int k = 0;
        for (ComboMask rest = z; rest != 0; rest &= rest - 1, ++k) {
            held[k] = counts.fives(z & ~(rest & -rest));
            inside += held[k];
        }
        k = 0;
        for (ComboMask rest = z; rest != 0; rest &= rest - 1, ++k) {
            const ComboMask m = z & ~(rest & -rest);  // b is the number left out
            const std::int64_t x2 = inside - held[k];
            if (x2 == 0) continue;
            ++secondSets;
            secondSquares += x2 * x2;
            // Grade 3 is won by the other sharing combinations; when all of
            // them have b as their fifth number, no one wins grade 3 here.
            if (x2 == sharingFour[static_cast<std::size_t>(rankOf(m))]) ++thirdAlwaysWon;
        }
    }

    auto& g = odds.grade;
    g[0] = {kBonusChoices * first.sets, kBonusChoices * first.sum, kBonusChoices * first.squares};
    g[1] = {secondSets, fourShared.sum, secondSquares};
    // Per main set: sum over b of (a4 - k_b)^2 = 26 a4^2 - 2 a4 a4 + sum of k_b^2.
    g[2] = {kBonusChoices * fourShared.sets - thirdAlwaysWon, (kBonusChoices - 1) * fourShared.sum,
            (kBonusChoices - 2) * fourShared.squares + secondSquares};
    g[3] = {kBonusChoices * fourth.sets, kBonusChoices * fourth.sum, kBonusChoices * fourth.squares};
    g[4] = {kBonusChoices * any.sets, kBonusChoices * any.sum, kBonusChoices * any.squares};
    return odds;
}

Odds computeOddsByEnumeration(const std::vector<ComboMask>& combos) {
    Odds odds;
    odds.combinations = static_cast<int>(combos.size());
    std::vector<ComboMask> distinct = combos;
    std::sort(distinct.begin(), distinct.end());
    odds.distinct = static_cast<int>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());

    std::array<std::int64_t, 32> fifth{};  // combinations sharing four numbers, by their fifth number
    for (int a = 1; a <= 31; ++a)
        for (int b = a + 1; b <= 31; ++b)
            for (int c = b + 1; c <= 31; ++c)
                for (int d = c + 1; d <= 31; ++d)
                    for (int e = d + 1; e <= 31; ++e) {
                        const ComboMask m = (1u << a) | (1u << b) | (1u << c) | (1u << d) | (1u << e);
                        std::int64_t shared5 = 0, shared4 = 0, shared3 = 0;
                        fifth.fill(0);
                        for (ComboMask t : combos) {
                            switch (std::popcount(m & t)) {
                            case 5: ++shared5; break;
                            case 4:
                                ++shared4;
                                ++fifth[static_cast<std::size_t>(std::countr_zero(t & ~m))];
                                break;
                            case 3: ++shared3; break;
                            default: break;
                            }
                        }
                        for (int bonus = 1; bonus <= 31; ++bonus) {
                            if (m & (1u << bonus)) continue;
                            const std::int64_t second = fifth[static_cast<std::size_t>(bonus)];
                            const std::int64_t x[4] = {shared5, second, shared4 - second, shared3};
                            for (int g = 0; g < 4; ++g) {
                                odds.grade[static_cast<std::size_t>(g)].winningOutcomes += x[g] > 0;
                                odds.grade[static_cast<std::size_t>(g)].wins += x[g];
                                odds.grade[static_cast<std::size_t>(g)].winsSquared += x[g] * x[g];
                            }
                            const std::int64_t all = x[0] + x[1] + x[2] + x[3];
                            odds.grade[kAnyGrade].winningOutcomes += all > 0;
                            odds.grade[kAnyGrade].wins += all;
                            odds.grade[kAnyGrade].winsSquared += all * all;
                        }
                    }
    return odds;
}

std::string formatOdds(const Odds& odds) {
    static const char* const kNames[kGradeRows] = {"1", "2", "3", "4", "any"};
    std::string out = "combinations," + std::to_string(odds.combinations) + "\n";
    out += "grade,outcomes,winning_outcomes,wins,wins_squared\n";
    for (int g = 0; g < kGradeRows; ++g) {
        const GradeOdds& x = odds.grade[static_cast<std::size_t>(g)];
        out += std::string(kNames[g]) + "," + std::to_string(kOutcomes) + "," + std::to_string(x.winningOutcomes) +
               "," + std::to_string(x.wins) + "," + std::to_string(x.winsSquared) + "\n";
    }
    return out;
}

// ---- what the figures mean -------------------------------------------------------

double chanceInOneDraw(const Odds& odds, int g) {
    return static_cast<double>(odds.grade[static_cast<std::size_t>(g)].winningOutcomes) /
           static_cast<double>(kOutcomes);
}

double chanceWithin(const Odds& odds, int g, int draws) {
    const double p = chanceInOneDraw(odds, g);
    if (p >= 1) return 1;
    // 1 - (1 - p)^n, kept exact for small p.
    return -std::expm1(draws * std::log1p(-p));
}

double expectedWinsPerDraw(const Odds& odds, int g) {
    return static_cast<double>(odds.grade[static_cast<std::size_t>(g)].wins) / static_cast<double>(kOutcomes);
}

ExpectedReturn expectedReturn(const Odds& odds, const Prizes& prizes) {
    ExpectedReturn r;
    for (int g = 0; g < 4; ++g)
        r.perDraw += static_cast<double>(prizes.yen[static_cast<std::size_t>(g)]) * expectedWinsPerDraw(odds, g);
    r.cost = kCostPerCombination * odds.combinations;
    r.ratePercent = r.cost > 0 ? r.perDraw / static_cast<double>(r.cost) * 100.0 : 0.0;
    return r;
}

std::string groupedText(std::int64_t v) {
    std::string digits = std::to_string(v < 0 ? -v : v);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), 1, ',');
    return v < 0 ? "-" + digits : digits;
}

std::string smallNumberText(double v) {
    if (!(v > 0)) return "0";
    // Three significant digits, at least two decimals, never the exponent form.
    int decimals = std::max(2, 2 - static_cast<int>(std::floor(std::log10(v))));
    decimals = std::min(decimals, 12);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string percentText(double fraction, bool certain) {
    if (certain) return "100.00%";
    const std::string s = smallNumberText(fraction * 100.0);
    // A chance short of certainty is never written as 100%.
    if (s.rfind("100.", 0) == 0) return "99.99%超";
    return s + "%";
}

std::string oneInText(std::int64_t won, std::int64_t outcomes) {
    if (won <= 0) return "―";
    if (won >= outcomes) return "1/1";
    const double ratio = static_cast<double>(outcomes) / static_cast<double>(won);
    if (ratio >= 9.5) return "1/" + groupedText(std::llround(ratio));
    // Short of certainty the ratio is above 1: as many decimals as it takes
    // to show that, never "1/1".
    std::string s;
    for (int decimals = 2; decimals <= 9; ++decimals) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, ratio);
        s = buf;
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
        if (s != "1") break;
    }
    return "1/" + s;
}

std::string groupedDecimalText(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    const std::size_t start = s[0] == '-' ? 1 : 0;
    const std::size_t point = std::min(s.find('.'), s.size());
    for (std::size_t i = point; i > start + 3; i -= 3) s.insert(i - 3, 1, ',');
    return s;
}

std::string yenText(double yen) { return groupedDecimalText(yen, 1) + "円"; }

std::array<OddsRowTexts, kGradeRows> oddsRowTexts(const Odds& odds) {
    static const char* const kNames[kGradeRows] = {"1等", "2等", "3等", "4等", "いずれか"};
    std::array<OddsRowTexts, kGradeRows> rows;
    for (int g = 0; g < kGradeRows; ++g) {
        OddsRowTexts& r = rows[static_cast<std::size_t>(g)];
        const std::int64_t won = odds.grade[static_cast<std::size_t>(g)].winningOutcomes;
        r.grade = kNames[g];
        const bool certain = won == kOutcomes;
        r.oneIn = oneInText(won, kOutcomes);
        r.percent = percentText(chanceInOneDraw(odds, g), certain);
        r.expected = smallNumberText(expectedWinsPerDraw(odds, g));
        r.withinYear = percentText(chanceWithin(odds, g, kDrawsPerYear), certain);
    }
    return rows;
}

std::string combinationsText(const Odds& odds) {
    return "組合せ " + groupedText(odds.combinations) + " 口（異なる組合せ " + groupedText(odds.distinct) + " 口）";
}

std::string expectedReturnText(const ExpectedReturn& r) {
    if (r.cost == 0) return "組合せがないので、購入額も払戻額も 0円です。";
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", r.ratePercent);
    return "購入額 " + groupedText(r.cost) + "円（1口200円）に対して、払戻額は1回あたり平均 " + yenText(r.perDraw) +
           "、還元率 " + rate + "%です。多くの回を平均した値で、次の回の予想ではありません。";
}

}  // namespace kazuban::analysis
