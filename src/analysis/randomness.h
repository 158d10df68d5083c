#pragma once
// Tests of the history against uniform random draws: is a deviation more
// than chance? Eight tests over the window of the history statistics (the
// strict draws that `analysis` and the tab 統計グラフ count), each with the
// upper tail of chi-square and a p-value simulated from random histories.
// The CLI's `randomness` prints the table; the tab shows one test under its
// analysis, or all eight.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/history_stats.h"

namespace kazuban::analysis {

// In the order of the report.
enum class RandomnessTest { Frequency, Bonus, OddEven, Sum, Range, Consecutive, CarryOver, Groups };
inline constexpr int kRandomnessTestCount = 8;

enum class Verdict { WithinChance, SlightBias, Bias };

// p >= 0.05 WithinChance, 0.01 <= p < 0.05 SlightBias, below Bias.
Verdict verdictOf(double p);
// "偶然の範囲内", "やや偏り", "偏りあり".
const char* verdictText(Verdict verdict);

struct TestResult {
    RandomnessTest test = RandomnessTest::Frequency;
    int observations = 0;         // the draws counted: W, or W' for carry_over
    double statistic = 0;         // 0 when untestable
    int df = 0;                   // 0: too few draws for the test
    std::optional<double> pChi2;  // the chi-square tail; none for groups, whose chi-square is only approximate
    double pSimulated = 1;        // (1 + histories at least as extreme) / (1 + simulations)

    bool testable() const { return df > 0; }
    // The p-value the verdict and the tab take: chi-square where there is one.
    double p() const { return pChi2 ? *pChi2 : pSimulated; }
    Verdict verdict() const { return verdictOf(p()); }
};

inline constexpr int kSimulations = 10000;
inline constexpr std::uint64_t kSimulationSeed = 20020401;

struct RandomnessOptions {
    int simulations = kSimulations;
    std::uint64_t seed = kSimulationSeed;  // each test draws from its own stream: seed + its index
};

// The upper tail of chi-square with df degrees of freedom at x (Boost.Math).
double chiSquareTail(double x, int df);

// Neighbouring categories merged until each expects at least 5 of `draws`
// (category i expects draws x weights[i] / their total): while the first
// expects fewer, it joins the next; while the last does, it joins the one
// before; then from the left each that expects fewer joins its right
// neighbour. Returns the first original index of each merged category.
std::vector<std::size_t> mergedCategoryStarts(std::span<const long long> weights, long long draws);

// One test over the window the statistics cover. A test gives the same
// figures alone as in the report.
TestResult randomnessTest(const HistoryStats& stats, RandomnessTest test, const RandomnessOptions& options = {});

struct RandomnessReport {
    int draws = 0;  // W
    std::array<TestResult, kRandomnessTestCount> tests{};
    int testable = 0;       // T: the tests the window allows
    double holmMinP = 1;    // min(1, T x the smallest verdict p-value of those T); 1 when T = 0
    bool complete = false;  // false when `progress` stopped it
};

// All eight tests. `progress`, when given, is called after each test with
// the number done; returning false stops the work (the report is then not
// complete).
RandomnessReport randomnessReport(const HistoryStats& stats, const RandomnessOptions& options = {},
                                  const std::function<bool(int done)>& progress = {});

// The report as the CLI prints it, LF line ends.
std::string randomnessText(const RandomnessReport& report);

// "frequency", "bonus", ...: the report's names.
const char* testName(RandomnessTest test);
// The tab's captions: "出現回数（本数字）", ...
const char* testCaption(RandomnessTest test);
// The test the tab shows under an analysis of the statistics (none for gaps).
std::optional<RandomnessTest> testOfAnalysis(Analysis analysis);

// What the p-value means, in one sentence for a player: "この偏りは、無作為な
// 抽せんでも 100 回中 6 回は起こる程度です。"
std::string chanceSentence(const TestResult& result);
// A test's verdict as the report writes it: "検定できません" for a test the
// window does not allow.
const char* verdictText(const TestResult& result);

// Under the table of all eight: what the T testable tests do together by
// chance, and the Holm-adjusted smallest p-value.
std::string manyTestsSentence(const RandomnessReport& report);

}  // namespace kazuban::analysis
