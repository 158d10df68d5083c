// The popularity estimate: the regression against a known model, the means
// over all main sets against a brute-force walk, the shared prize against a
// direct sum, and the yen against what the published results paid.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "analysis/odds.h"
#include "analysis/popularity.h"
#include "app/design_page.h"
#include "history/result_files.h"
#include "support/history_gen.h"

namespace kazuban::analysis {
namespace {

ComboMask maskOf(std::initializer_list<int> numbers) {
    ComboMask m = 0;
    for (int n : numbers) m |= ComboMask{1} << n;
    return m;
}

// Draws with winner counts drawn from a known model: popularity
// exp(eta(T)) for the given column effects, 15 tickets a set on average.
std::vector<CountedDraw> syntheticCounts(const LinearModel& truth, int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<CountedDraw> draws;
    ComboMask previous = 0;
    for (const testing::Draw& d : testing::syntheticDraws(n, seed)) {
        CountedDraw c;
        c.number = static_cast<int>(draws.size()) + 1;
        c.main = maskOf({d[0], d[1], d[2], d[3], d[4]});
        c.previous = previous;
        previous = c.main;
        const double perSet = 15 * std::uniform_real_distribution<double>(0.7, 1.3)(rng);
        const FeatureVector x = featuresOf(c.main, c.previous);
        const double mu1 = perSet * std::exp(truth.eta(x));
        c.winners[0] = std::poisson_distribution<std::int64_t>(mu1)(rng);
        // The neighbours follow the same effects at half strength.
        LinearModel half = truth;
        for (double& b : half.beta) b /= 2;
        const double mu23 = perSet * kNeighbourSets * std::exp(half.eta(x));
        const std::int64_t c23 = std::poisson_distribution<std::int64_t>(mu23)(rng);
        c.winners[1] = c23 / 26;
        c.winners[2] = c23 - c.winners[1];
        c.winners[3] = std::llround(perSet * kFourSets);
        c.prizes = {150'000'000 / std::max<std::int64_t>(c.winners[0], 1),
                    13'000'000 / std::max<std::int64_t>(c.winners[1], 1),
                    18'000'000 / std::max<std::int64_t>(c.winners[2], 1), 1000};
        c.prizesKnown = true;
        draws.push_back(c);
    }
    return draws;
}

LinearModel knownModel() {
    LinearModel m;
    m.intercept = -0.3;
    m.beta[static_cast<std::size_t>(groupBegin(kConsecutiveGroup))] = 0.25;   // consecutive_pairs
    m.beta[static_cast<std::size_t>(groupBegin(kSheetColumnGroup))] = -0.12;  // sheet_column_pairs
    m.beta[static_cast<std::size_t>(groupBegin(kRepeatsGroup))] = 0.2;        // repeats_count
    m.beta[7 - 1] = 0.3;                                                      // the number 7
    return m;
}

TEST(Popularity, TheFitRecoversKnownEffectsAndChoosesThem) {
    const LinearModel truth = knownModel();
    const auto draws = syntheticCounts(truth, 1400, 7u);
    // The pattern columns that vary on most draws, and the numbers apart
    // (the count of numbers <= 12 is a sum of number columns).
    const GroupSet patterns = (1u << kConsecutiveGroup) | (1u << kSheetColumnGroup) | (1u << kRepeatsGroup) |
                              (1u << kFivesGroup);
    const PoissonData setData = popularityData(draws, Target::Set), nbData = popularityData(draws, Target::Neighbours);
    const LinearModel set = fitRidgePoisson(setData, patterns, 0.1);
    const LinearModel nb = fitRidgePoisson(nbData, patterns, 0.1);
    for (int g : {kConsecutiveGroup, kSheetColumnGroup, kRepeatsGroup, kFivesGroup}) {
        const auto j = static_cast<std::size_t>(groupBegin(g));
        const double expected = truth.beta[j];
        EXPECT_NEAR(set.beta[j], expected, 0.05) << columnName(groupBegin(g));
        EXPECT_NEAR(nb.beta[j], expected / 2, 0.02) << columnName(groupBegin(g));
    }
    // Number effects are known only up to a common shift (five a set).
    const LinearModel numbers = fitRidgePoisson(setData, patterns | (1u << kNumbersGroup), 0.1);
    const auto shift = [&numbers](int v) { return numbers.beta[static_cast<std::size_t>(v - 1)] - numbers.beta[19]; };
    EXPECT_NEAR(shift(7), 0.3, 0.1);
    EXPECT_NEAR(shift(8), 0.0, 0.1);

    // The selection by later draws takes the groups that matter and leaves
    // out some that do not (the effects are large enough to be seen).
    const ModelChoice chosen =
        selectModel(std::vector<CountedDraw>(draws.begin(), draws.begin() + 500), Target::Neighbours);
    for (int g : {kNumbersGroup, kConsecutiveGroup, kSheetColumnGroup, kRepeatsGroup})
        EXPECT_NE(chosen.groups & (1u << g), 0u) << groupName(g);
    for (int g : {kFivesGroup, kParityGroup}) EXPECT_EQ(chosen.groups & (1u << g), 0u) << groupName(g);

    // On later draws the fitted model predicts better than the null model.
    const std::vector<CountedDraw> training(draws.begin(), draws.begin() + 1100),
        later(draws.begin() + 1100, draws.end());
    const ModelChoice c{patterns | (1u << kNumbersGroup), 1};
    const HoldOut h = holdOut(fitPopularity(training, c, c), training, later);
    EXPECT_EQ(h.draws, 300);
    EXPECT_LT(h.setRatio, 0.95);
    EXPECT_LT(h.neighbourRatio, 0.8);
}

TEST(Popularity, AveragesToOneOverAllSetsAfterAnyPreviousDraw) {
    const auto draws = syntheticCounts(knownModel(), 400, 11u);
    const ModelChoice c{(1u << kNumbersGroup) | (1u << kRepeatsGroup) | (1u << kMonthsGroup), 1};
    PopularityModel model = fitPopularity(draws, c, c);
    ASSERT_GT(model.setModel.beta[static_cast<std::size_t>(groupBegin(kRepeatsGroup))], 0.05);
    for (const ComboMask prev : {draws.back().main, ComboMask{0}}) {
        model.predictAfter(prev);
        double pop = 0, nb = 0, popOther = 0;
        const ComboMask other = maskOf({3, 9, 17, 25, 31});
        for (int a = 1; a <= 31; ++a)
            for (int b = a + 1; b <= 31; ++b)
                for (int cc = b + 1; cc <= 31; ++cc)
                    for (int d = cc + 1; d <= 31; ++d)
                        for (int e = d + 1; e <= 31; ++e) {
                            const ComboMask t = maskOf({a, b, cc, d, e});
                            pop += model.popularity(t);
                            nb += model.neighbours(t);
                            popOther += model.popularityAfter(t, other);
                        }
        EXPECT_NEAR(pop / static_cast<double>(kMainSets), 1.0, 1e-9);
        EXPECT_NEAR(nb / static_cast<double>(kMainSets), 1.0, 1e-9);
        EXPECT_NEAR(popOther / static_cast<double>(kMainSets), 1.0, 1e-9);
    }
}

TEST(Popularity, FeaturesOfKnownSets) {
    const FeatureVector a = featuresOf(maskOf({6, 12, 18, 24, 30}), maskOf({6, 7, 8, 9, 12}));
    const FeatureVector b = featuresOf(maskOf({1, 2, 3, 4, 5}), 0);
    const FeatureVector c = featuresOf(maskOf({1, 11, 21, 31, 2}), 0);
    const auto at = [](const FeatureVector& f, int group, int k = 0) {
        return f[static_cast<std::size_t>(groupBegin(group) + k)];
    };
    EXPECT_EQ(at(a, kNumbersGroup, 5) + at(a, kNumbersGroup, 11) + at(a, kNumbersGroup, 29), 3);
    EXPECT_EQ(at(a, kMonthsGroup), 2);
    EXPECT_EQ(at(b, kMonthsGroup, 1), 1);
    EXPECT_EQ(at(a, kFivesGroup), 1);
    EXPECT_EQ(at(a, kSevensGroup), 0);
    EXPECT_EQ(at(a, kProgressionGroup), 1);
    EXPECT_EQ(at(a, kProgressionGroup, 1), 4);  // 6-12-18, 12-18-24, 18-24-30, 6-18-30
    EXPECT_EQ(at(c, kProgressionGroup), 0);
    EXPECT_EQ(at(c, kProgressionGroup, 1), 2);  // 1-11-21 and 11-21-31
    EXPECT_EQ(at(b, kConsecutiveGroup), 4);
    EXPECT_EQ(at(b, kConsecutiveGroup, 1), 1);
    EXPECT_EQ(at(c, kConsecutiveGroup, 1), 0);
    // The sheet: 1, 11, 21, 31 share a row; 1 and 2 a column.
    EXPECT_EQ(at(c, kSheetRowGroup), 6);
    EXPECT_EQ(at(c, kSheetColumnGroup), 1);
    EXPECT_EQ(at(b, kSheetColumnGroup), 10);
    EXPECT_EQ(at(a, kRepeatsGroup), 2);
    EXPECT_EQ(at(a, kParityGroup, 1), 1);
    EXPECT_EQ(at(b, kParityGroup), 0);
    EXPECT_EQ(at(b, kClusterGroup), 1);
    EXPECT_EQ(at(a, kClusterGroup), 0);
}

TEST(Popularity, SharedPrizeMatchesTheDirectSum) {
    struct Case {
        double pool, lambda, cap;
    };
    for (const Case& k : {Case{1e8, 0.0, 4e7}, Case{1e8, 0.2, 4e7}, Case{1.4e8, 3.0, 4e7}, Case{1.4e8, 40.0, 4e7},
                          Case{1.4e8, 3.0, 0}, Case{1.8e7, 120.0, 0}, Case{100, 1, 40}}) {
        double direct = 0, pk = std::exp(-k.lambda);
        for (int n = 0; n < 2000; ++n) {
            const double share = k.pool / (1 + n);
            direct += pk * (k.cap > 0 ? std::min(share, k.cap) : share);
            pk *= k.lambda / (n + 1);
        }
        EXPECT_NEAR(expectedShare(k.pool, k.lambda, k.cap), direct, 1e-9 * k.pool) << k.pool << " " << k.lambda;
    }
    // One winner alone takes the pool up to the cap.
    EXPECT_EQ(expectedShare(1e8, 0, 4e7), 4e7);
    EXPECT_EQ(expectedShare(3e7, 0, 4e7), 3e7);
    EXPECT_EQ(expectedShare(0, 2, 4e7), 0);
}

// The published results of draws 1..1000 as countedDraws reads them.
std::vector<CountedDraw> publishedDraws(int to) {
    std::ifstream in(KAZUBAN_TESTDATA_DIR "/results-1-1000.csv", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const history::ResultFile file = history::readResultFile(bytes.str(), "results-1-1000.csv");
    std::vector<std::string> lines{std::string(testing::kHistoryHeader)};
    history::PayoutTable payouts;
    for (const history::ResultDraw& d : file.draws) {
        lines.push_back("第" + std::to_string(d.draw) + "回=" + testing::makeDrawText(d.numbers));
        payouts[d.draw] = d.payout;
    }
    payouts[5].fields[history::kWinnersField + 2].reset();  // a draw without all four counts
    return countedDraws(history::historyFromLines(lines).history, payouts, to);
}

TEST(Popularity, PublishedResultsGiveTheirOwnPayoutBack) {
    const auto draws = publishedDraws(1000);
    ASSERT_EQ(draws.size(), 999u);
    EXPECT_EQ(draws[4].number, 6);
    EXPECT_EQ(std::popcount(draws[4].previous), 5);  // draw 5 is a valid draw all the same
    const PopularityModel model = fitPopularity(draws);
    EXPECT_EQ(model.draws, 999);
    // The tickets' mean payout is what the last 52 draws paid per ticket
    // sold: each set weighted by how many hold it.
    double weighted = 0, weights = 0;
    for (int a = 1; a <= 31; ++a)
        for (int b = a + 1; b <= 31; ++b)
            for (int c = b + 1; c <= 31; ++c)
                for (int d = c + 1; d <= 31; ++d)
                    for (int e = d + 1; e <= 31; ++e) {
                        const ComboMask t = maskOf({a, b, c, d, e});
                        const double p = model.popularity(t);
                        weighted += p * model.expectedYenAt(p, model.neighbours(t));
                        weights += p;
                    }
    EXPECT_GT(model.yen.paidPerTicket, 85);
    EXPECT_LT(model.yen.paidPerTicket, 95);
    EXPECT_NEAR(weighted / weights, model.yen.paidPerTicket, 0.02 * model.yen.paidPerTicket);
    // 6, 12, 18, 24, 30 (1,129 winners in draw 621) is far above average and
    // pays a fraction; a plain set is near the average.
    const ComboMask famous = maskOf({6, 12, 18, 24, 30});
    EXPECT_GT(model.popularity(famous), 10);
    EXPECT_LT(model.prize1(famous), model.prize1At(1) / 5);
    EXPECT_LT(model.expectedYen(famous), model.expectedYenAt(1, 1) * 0.5);
    EXPECT_LE(model.prize1At(0.01), static_cast<double>(kPrize1Cap));
    EXPECT_GT(model.prize1At(0.01), 0.9 * static_cast<double>(kPrize1Cap));

    // The command-line form, with the numbers ascending.
    const std::string out = formatPopularity(model, {3, 17}, {maskOf({30, 6, 12, 24, 18}), maskOf({1, 2, 3, 4, 5})});
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "draws_fitted,999");
    std::getline(lines, line);
    EXPECT_EQ(line, "row,n1,n2,n3,n4,n5,popularity,neighbours,prize1,expected_yen");
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("3,6,12,18,24,30,", 0), 0u) << line;
    char buf[96];
    const ComboMask t = maskOf({6, 12, 18, 24, 30});
    std::snprintf(buf, sizeof buf, ",%.4f,%.4f,%lld,%.2f", model.popularity(t), model.neighbours(t),
                  static_cast<long long>(std::llround(model.prize1(t))), model.expectedYen(t));
    EXPECT_EQ(line.substr(line.size() - std::string(buf).size()), buf);
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("17,1,2,3,4,5,", 0), 0u) << line;
    EXPECT_FALSE(std::getline(lines, line));

    // Fitted on draws 1..800, the model predicts 801..1000 better than chance.
    const auto training = publishedDraws(800);
    std::vector<CountedDraw> later(draws.begin() + static_cast<std::ptrdiff_t>(training.size()), draws.end());
    const HoldOut h = holdOut(fitPopularity(training), training, later);
    EXPECT_EQ(h.draws, 200);
    EXPECT_LT(h.setRatio, 0.9);
    EXPECT_LT(h.neighbourRatio, 0.82);
}

// 組合せ設計 with 人気の組合せを避ける: the same draws covered as without it,
// a higher mean expected yen, no ticket above the limit, and the figures
// the tab states.
TEST(Popularity, TheDesignAvoidsPopularTicketsWithoutLosingDraws) {
    const app::PopularOption open{std::make_shared<PopularityModel>(fitPopularity(publishedDraws(1000))), std::nullopt};
    const PopularityModel& model = *open.model;
    auto meanYen = [&](const app::DesignRun& run) {
        double sum = 0;
        for (design::Ticket t : run.result.tickets) sum += model.expectedYen(t);
        return sum / static_cast<double>(run.result.tickets.size());
    };
    design::Request best;
    best.tickets = 5;  // five tickets sharing no draw: the search stops at once
    const app::DesignRun plain = app::runDesignWork(best);
    const app::DesignRun valued = app::runDesignWork(best, {}, nullptr, &open);
    EXPECT_EQ(valued.result.covered, plain.result.covered);
    ASSERT_TRUE(valued.value.has_value());
    EXPECT_FALSE(plain.value.has_value());
    EXPECT_DOUBLE_EQ(valued.value->meanYen, meanYen(valued));
    EXPECT_GT(valued.value->meanYen, meanYen(plain));
    EXPECT_GT(valued.value->meanYen, valued.value->randomYen);
    EXPECT_EQ(valued.value->draws, 999);

    const app::PopularOption limited{open.model, 0.8};
    const app::DesignRun below = app::runDesignWork(best, {}, nullptr, &limited);
    ASSERT_EQ(below.result.tickets.size(), 5u);
    for (design::Ticket t : below.result.tickets) EXPECT_LE(model.popularity(t), 0.8);
    const std::string text = app::designTexts(below).value;
    EXPECT_NE(text.find("期待払戻額（1口 200円あたり）　この 5 口の平均 " + centsYenText(below.value->meanYen)),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("第1000回までの 999 回"), std::string::npos) << text;
    EXPECT_NE(text.find("当たる確率は同じ"), std::string::npos) << text;
    EXPECT_NE(text.find("人気度 ×0.80 を超える組合せは使っていません。"), std::string::npos) << text;
    EXPECT_EQ(app::designTexts(plain).value, "");
}

}  // namespace
}  // namespace kazuban::analysis
