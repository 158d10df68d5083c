// The tests of the history against chance, their samplers and `randomness`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "analysis/randomness.h"
#include "analysis/sampling.h"
#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::analysis {
namespace {

using testing::Draw;

HistoryStats statsOf(const std::vector<Draw>& draws) {
    return computeHistoryStats(history::historyFromLines(testing::historyLines(draws)).history);
}

// Draws made the plain way: five distinct numbers and a bonus apart from them.
std::vector<Draw> plainDraws(std::mt19937_64& rng, int count) {
    std::vector<Draw> draws;
    for (int d = 0; d < count; ++d) {
        std::array<int, 31> n{};
        std::iota(n.begin(), n.end(), 1);
        for (std::size_t i = 0; i < 6; ++i) std::swap(n[i], n[i + rng() % (31 - i)]);
        std::sort(n.begin(), n.begin() + 5);
        draws.push_back({n[0], n[1], n[2], n[3], n[4], n[5]});
    }
    return draws;
}

TEST(Randomness, StatisticsOfSmallHistoriesByHand) {
    // Four draws: every per-draw test expects fewer than 5 in all its
    // categories and cannot be made.
    const HistoryStats four =
        statsOf({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, {6, 7, 8, 9, 10, 31}, {11, 12, 13, 14, 31, 6}});
    const RandomnessReport r = randomnessReport(four);
    EXPECT_NEAR(r.tests[0].statistic, 30.576923, 1e-6);  // (sum (O - 20/31)^2 / (20/31)) x 30/26
    EXPECT_NEAR(r.tests[1].statistic, 73.5, 1e-9);       // bonus 6 three times, 31 once
    EXPECT_NEAR(r.tests[7].statistic, 27.655769, 1e-6);  // groups 10, 5, 4, 0, 0, 1 against 20 x size/31
    EXPECT_EQ(r.tests[0].df, 30);
    EXPECT_EQ(r.tests[7].df, 5);
    EXPECT_FALSE(r.tests[7].pChi2);
    for (int t = 2; t <= 6; ++t) {
        EXPECT_FALSE(r.tests[t].testable()) << t;
        EXPECT_EQ(r.tests[t].statistic, 0);
        EXPECT_EQ(r.tests[t].pChi2, 1.0);
        EXPECT_EQ(r.tests[t].pSimulated, 1.0);
    }
    EXPECT_EQ(r.tests[6].observations, 3);
    // Holm over the three tests there are; the report says which cannot be made.
    EXPECT_EQ(r.testable, 3);
    EXPECT_EQ(r.holmMinP, std::min(1.0, 3 * std::min({r.tests[0].p(), r.tests[1].p(), r.tests[7].p()})));
    EXPECT_NE(randomnessText(r).find("\nsum,0.000,0,1.0000,1.0000,検定できません\n"), std::string::npos);
    EXPECT_TRUE(manyTestsSentence(r).starts_with(
        "3 つの検定をすると、無作為な抽せんでも 7 回に 1 回ほどはどれかが「やや偏り」以上になります。"))
        << manyTestsSentence(r);
    EXPECT_TRUE(manyTestsSentence(r).ends_with("ほかの 5 つは回数が少なすぎるため検定できません。"));

    // Forty draws of 1-5: merged categories odd 0-1|2|3|4-5, sum ..55|56-60|
    // ...; each expectation from the 169,911 sets.
    const HistoryStats same = statsOf(std::vector<Draw>(40, Draw{1, 2, 3, 4, 5, 6}));
    const struct {
        RandomnessTest test;
        int df;
        double statistic;
    } kCases[] = {{RandomnessTest::OddEven, 3, 75.585714},
                  {RandomnessTest::Sum, 5, 222.188103},
                  {RandomnessTest::Range, 5, 233.575655},
                  {RandomnessTest::Consecutive, 1, 36.209507},
                  {RandomnessTest::CarryOver, 2, 186.537899}};
    for (const auto& c : kCases) {
        const TestResult t = randomnessTest(same, c.test, {.simulations = 100});
        EXPECT_EQ(t.df, c.df) << testName(c.test);
        EXPECT_NEAR(t.statistic, c.statistic, 1e-6) << testName(c.test);
        EXPECT_NEAR(t.pSimulated, 1.0 / 101, 1e-12) << testName(c.test);  // no random history is that extreme
        EXPECT_EQ(t.verdict(), Verdict::Bias);
    }
}

// The null distribution of every test against random histories made the
// plain way: the mean of the statistic is its degrees of freedom (for
// frequency and groups thanks to the 30/26 scaling), and the simulated
// p-value is the share of plain histories at least as extreme.
class RandomnessAgainstPlainHistories : public ::testing::TestWithParam<int> {};

TEST_P(RandomnessAgainstPlainHistories, MeanAndTailMatch) {
    static const std::vector<HistoryStats> histories = [] {
        std::mt19937_64 rng(4242);
        std::vector<HistoryStats> h;
        for (int i = 0; i < 2000; ++i) h.push_back(statsOf(plainDraws(rng, 30)));
        return h;
    }();
    const auto test = static_cast<RandomnessTest>(GetParam());
    std::vector<double> x;
    for (const HistoryStats& h : histories) x.push_back(randomnessTest(h, test, {.simulations = 0}).statistic);
    const double n = static_cast<double>(x.size());
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / n;
    double var = 0;
    for (double v : x) var += (v - mean) * (v - mean) / (n - 1);
    const TestResult first = randomnessTest(histories[0], test, {.simulations = 0});
    EXPECT_GE(first.df, 1);
    EXPECT_NEAR(mean, first.df, 4 * std::sqrt(var / n)) << testName(test);

    for (std::size_t h = 1; h <= 3; ++h) {
        const TestResult r = randomnessTest(histories[h], test);
        const double tail =
            static_cast<double>(
                std::count_if(x.begin(), x.end(),
                              [&](double v) { return v >= r.statistic - 1e-9 * std::max(1.0, r.statistic); })) /
            n;
        EXPECT_NEAR(r.pSimulated, tail, 0.04) << testName(test) << " history " << h;
    }
}

INSTANTIATE_TEST_SUITE_P(EachTest, RandomnessAgainstPlainHistories, ::testing::Range(0, kRandomnessTestCount),
                         [](const auto& info) {
                             return std::string(testName(static_cast<RandomnessTest>(info.param)));
                         });

TEST(Randomness, MergingFromBothEndsThenFromTheLeft) {
    using Starts = std::vector<std::size_t>;
    const struct {
        std::vector<long long> weights;
        long long draws;
        Starts starts;
    } kCases[] = {
        {{5, 5, 5}, 15, {0, 1, 2}},                // expecting exactly 5 is enough
        {{5, 5, 5}, 14, {0}},                      // the first two join, then the last joins them
        {{1, 1, 1, 100}, 103, {0}},                // 1+1+1 = 3 < 5 joins the last
        {{1, 1, 1, 100}, 200, {0, 3}},             // 3 x 200/103 = 5.8 stands
        {{1, 100, 1}, 102, {0}},                   // first into the next, then the last into it
        {{100, 1, 100, 100, 1}, 302, {0, 1, 3}},   // the last joins left, the inner one right
        {{100, 1, 100, 100}, 301, {0, 1, 3}},      // 1 joins its right neighbour, not its left
        {{3, 3, 3, 3}, 4, {0}},                    // too few draws for two categories
        {{0, 10, 10, 0}, 20, {0, 2}},              // empty categories join their neighbours
        {{10, 1, 1, 1, 1, 1, 10}, 25, {0, 1, 6}},  // the inner ones gather until they expect 5
    };
    for (const auto& c : kCases) EXPECT_EQ(mergedCategoryStarts(c.weights, c.draws), c.starts) << c.draws;
}

TEST(Randomness, ChiSquareTailsVerdictsAndSentences) {
    EXPECT_NEAR(chiSquareTail(2.0, 2), std::exp(-1.0), 1e-15);  // df 2: exp(-x/2)
    EXPECT_NEAR(chiSquareTail(43.773, 30), 0.05, 2e-5);
    EXPECT_NEAR(chiSquareTail(50.892, 30), 0.01, 2e-5);
    EXPECT_NEAR(chiSquareTail(11.070, 5), 0.05, 2e-5);
    EXPECT_NEAR(chiSquareTail(3.841, 1), 0.05, 2e-5);
    EXPECT_EQ(chiSquareTail(0, 11), 1.0);
    EXPECT_EQ(chiSquareTail(1e7, 30), 0.0);  // a history of one draw repeated: no error, no crash

    EXPECT_EQ(verdictOf(0.05), Verdict::WithinChance);
    EXPECT_EQ(verdictOf(0.0499999), Verdict::SlightBias);
    EXPECT_EQ(verdictOf(0.01), Verdict::SlightBias);
    EXPECT_EQ(verdictOf(0.0099999), Verdict::Bias);

    TestResult t;
    t.df = 30;
    const auto said = [&](double p) {
        t.pChi2 = p;
        return chanceSentence(t);
    };
    EXPECT_EQ(said(0.063), "この偏りは、無作為な抽せんでも 100 回中 6 回は起こる程度です。");
    EXPECT_EQ(said(0.0049), "この偏りは、無作為な抽せんでも 1000 回中 5 回は起こる程度です。");
    EXPECT_EQ(said(0.00018), "この偏りは、無作為な抽せんでも 1 万回中 2 回は起こる程度です。");
    EXPECT_EQ(said(0.00004), "この偏りは、無作為な抽せんでは 1 万回に 1 回も起こらない程度です。");
    EXPECT_EQ(said(0.996), "この程度のばらつきは、無作為な抽せんでもほぼ毎回起こります。");
    t.pChi2.reset();
    t.pSimulated = 0.2;  // groups: the simulated p
    EXPECT_EQ(chanceSentence(t), "この偏りは、無作為な抽せんでも 100 回中 20 回は起こる程度です。");
    t.df = 0;
    EXPECT_EQ(chanceSentence(t), "回数が少なすぎるため、この検定はできません。");

    RandomnessReport report;
    report.testable = 8;
    report.holmMinP = 0.0469;
    EXPECT_EQ(manyTestsSentence(report),
              "8 つの検定をすると、無作為な抽せんでも 3 回に 1 回ほどはどれかが「やや偏り」以上になります。"
              "それを補正した最も小さい p 値（Holm）は 0.0469 で、まとめて見てもやや偏りがあります。");
}

TEST(Randomness, RealHistory) {
    const history::DrawHistory all = history::readWinningNumbers(testing::demoDir() / "atarimgrp.txt").history;
    history::DrawHistory first = all;  // draws 1-1331
    first.entries.resize(1332);
    first.valid.resize(1332);
    first.numbers.resize(1332);
    const TestResult f = randomnessTest(computeHistoryStats(first), RandomnessTest::Frequency);
    EXPECT_NEAR(*f.pChi2, 0.063, 0.001);  // the textbook chi-square without 30/26 gives 0.18
    EXPECT_NEAR(f.pSimulated, 0.063, 0.01);

    const RandomnessReport r = randomnessReport(computeHistoryStats(all));
    EXPECT_EQ(r.draws, 1400);
    double smallest = 1;
    for (const TestResult& t : r.tests) {
        if (t.pChi2) {
            EXPECT_NEAR(*t.pChi2, t.pSimulated, 0.02) << testName(t.test);
        }
        smallest = std::min(smallest, t.p());
    }
    EXPECT_EQ(r.testable, 8);
    EXPECT_EQ(r.holmMinP, std::min(1.0, 8 * smallest));
    EXPECT_EQ(randomnessTest(computeHistoryStats(all), RandomnessTest::Groups).pSimulated, r.tests[7].pSimulated);
}

// Binomial samples against the exact probabilities, in cells expecting at
// least 20: inversion, rejection (near and far from the mode), and p > 1/2.
TEST(Sampler, BinomialFollowsItsDistribution) {
    const struct {
        long long n;
        double p;
    } kCases[] = {{9, 0.5}, {1400, 0.002}, {25, 0.39}, {200, 0.06}, {1400, 5.0 / 31}, {30000, 0.3}, {100, 0.8}};
    Sampler sampler(7);
    for (const auto& c : kCases) {
        const int samples = 60000;
        std::vector<long long> seen(static_cast<std::size_t>(c.n) + 1);
        for (int i = 0; i < samples; ++i) ++seen.at(static_cast<std::size_t>(sampler.binomial(c.n, c.p)));
        double x2 = 0, expected = 0;
        long long observed = 0;
        int cells = 0;
        for (long long k = 0; k <= c.n; ++k) {
            const double logPmf = std::lgamma(c.n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(c.n - k + 1.0) +
                                  k * std::log(c.p) + (c.n - k) * std::log1p(-c.p);
            expected += samples * std::exp(logPmf);
            observed += seen[static_cast<std::size_t>(k)];
            if (expected >= 20 || k == c.n) {
                x2 += (observed - expected) * (observed - expected) / expected;
                ++cells;
                expected = 0;
                observed = 0;
            }
        }
        EXPECT_LT(x2, cells + 5 * std::sqrt(2.0 * cells)) << c.n << " " << c.p;
    }
    EXPECT_EQ(sampler.binomial(0, 0.3), 0);
    EXPECT_EQ(sampler.binomial(12, 1.0), 12);
    EXPECT_EQ(sampler.binomial(12, 0.0), 0);
}

TEST(Sampler, PortableLogAgreesWithTheLibrary) {
    for (double x : {1e-300, 1e-17, 0.001, 0.5, 0.7071, 0.7072, 1.0, 1.0000001, 1.41421, 2.0, 3.0, 1e6, 1e300})
        EXPECT_NEAR(portableLog(x), std::log(x), 4e-16 * std::max(1.0, std::fabs(std::log(x)))) << x;
}

}  // namespace
}  // namespace kazuban::analysis

namespace kazuban::cli {
namespace {

using testing::CliRun;
using testing::runCli;
using testing::TempDir;

TEST(CliRandomness, RealHistoryShortAndBadWindows) {
    TempDir scratch, data;
    testing::copyDemoHistory(data);
    CliRun r = runCli(scratch, data.str(), "randomness");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, testing::golden("randomness.txt"));
    const std::string out = (scratch.path() / "r.txt").string();
    r = runCli(scratch, data.str(), "randomness --last 100 -o '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::string crlf;
    for (char c : testing::golden("randomness-last100.txt"))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(scratch.read("r.txt"), platform::encodeCp932(crlf));

    for (const char* bad : {"0", "-3", "x", "1.5"}) {
        r = runCli(scratch, data.str(), std::string("randomness --last ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
        EXPECT_NE(r.err.find("--last"), std::string::npos) << bad;
    }

    // One draw: nothing can be tested. No strict draw at all: refused.
    r = runCli(scratch, data.str(), "randomness --last 1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "draws,1\ntest,statistic,df,p_chi2,p_simulated,verdict\n"
              "frequency,0.000,0,1.0000,1.0000,検定できません\nbonus,0.000,0,1.0000,1.0000,検定できません\n"
              "odd_even,0.000,0,1.0000,1.0000,検定できません\nsum,0.000,0,1.0000,1.0000,検定できません\n"
              "range,0.000,0,1.0000,1.0000,検定できません\nconsecutive,0.000,0,1.0000,1.0000,検定できません\n"
              "carry_over,0.000,0,1.0000,1.0000,検定できません\ngroups,0.000,0,,1.0000,検定できません\n"
              "holm_min_p,1.0000\n");
    data.writeLines("atarimgrp.txt", {std::string(testing::kHistoryHeader), "第1回=01, 2, 3, 4, 5, 6"});
    r = runCli(scratch, data.str(), "randomness");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

}  // namespace
}  // namespace kazuban::cli
