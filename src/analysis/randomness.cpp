#include "analysis/randomness.h"

#include <algorithm>
#include <array>
#include <bit>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis/sampling.h"

namespace kazuban::analysis {

namespace {

constexpr std::array<int, 6> kGroupSizes = {5, 5, 5, 5, 5, 6};
constexpr std::array<int, 31> kSingles = [] {
    std::array<int, 31> a{};
    a.fill(1);
    return a;
}();

long long choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    long long r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// The sum classes: up to 55, 56-60, ..., 101-105, from 106.
constexpr int kSumClasses = 12;
int sumClass(int sum) { return std::clamp((sum - 51) / 5, 0, kSumClasses - 1); }

// How many of the five-number sets fall into each sum class and each number
// of consecutive pairs: counted once.
struct SetWeights {
    std::array<long long, kSumClasses> sum{};
    std::array<long long, 5> consecutive{};
};

const SetWeights& setWeights() {
    static const SetWeights weights = [] {
        SetWeights w;
        // Gosper's hack over the 31-bit masks with five bits set (bit i: number i + 1).
        for (std::uint32_t m = 0x1Fu; m < (1u << 31);) {
            int sum = 0;
            for (std::uint32_t rest = m; rest != 0; rest &= rest - 1) sum += std::countr_zero(rest) + 1;
            ++w.sum[static_cast<std::size_t>(sumClass(sum))];
            ++w.consecutive[static_cast<std::size_t>(std::popcount(m & (m >> 1)))];
            const std::uint32_t low = m & (0u - m);
            const std::uint32_t ripple = m + low;
            m = ripple | (((m ^ ripple) >> 2) / low);
        }
        return w;
    }();
    return weights;
}

// Pearson's X^2 of counts against n draws spread by integer weights:
// sum (T O - n w)^2 / (T n w), T the weights' total.
double pearson(std::span<const long long> observed, std::span<const long long> weights, long long n) {
    long long total = 0;
    for (long long w : weights) total += w;
    double x2 = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        const double d = static_cast<double>(total * observed[i] - n * weights[i]);
        x2 += d * d / (static_cast<double>(total) * static_cast<double>(n) * static_cast<double>(weights[i]));
    }
    return x2;
}

// The frequency statistic: X^2 over the 31 numbers against 5W/31 each,
// times 30/26; in integers, sum (31 O - 5W)^2 x 3 / (403 W).
double frequencyStatistic(std::span<const long long> counts, long long w) {
    long long sum = 0;
    for (long long o : counts) sum += (31 * o - 5 * w) * (31 * o - 5 * w);
    return static_cast<double>(3 * sum) / static_cast<double>(403 * w);
}

// X^2 over the six groups against 5W size/31, times 30/26; in integers,
// sum (31 O - 5W s)^2 (30 / s) / (4030 W).
double groupsStatistic(std::span<const long long> counts, long long w) {
    long long sum = 0;
    for (std::size_t g = 0; g < kGroupSizes.size(); ++g) {
        const long long d = 31 * counts[g] - 5 * w * kGroupSizes[g];
        sum += d * d * (30 / kGroupSizes[g]);
    }
    return static_cast<double>(sum) / static_cast<double>(4030 * w);
}

// A simulated statistic at least the observed one, or a rounding below it,
// counts as at least as extreme.
double atLeast(double observed) { return observed - 1e-9 * std::max(1.0, observed); }

// (1 + the simulated histories at least as extreme) / (1 + S).
double simulatedP(long long count, int simulations) {
    return static_cast<double>(1 + count) / static_cast<double>(1 + simulations);
}

// The categories of one draw for a per-draw test, with their weights out of
// the 169,911 five-number sets.
struct Categories {
    std::vector<long long> observed, weights;
    long long draws = 0;
};

Categories perDrawCategories(const HistoryStats& s, RandomnessTest test) {
    Categories c;
    c.draws = s.draws;
    switch (test) {
    case RandomnessTest::OddEven:
        for (int k = 0; k <= 5; ++k) {
            c.observed.push_back(s.oddEven[static_cast<std::size_t>(k)]);
            c.weights.push_back(choose(16, k) * choose(15, 5 - k));
        }
        break;
    case RandomnessTest::Sum: {
        c.observed.assign(kSumClasses, 0);
        for (int v = 15; v <= 145; ++v)
            c.observed[static_cast<std::size_t>(sumClass(v))] += s.sum[static_cast<std::size_t>(v)];
        const auto& w = setWeights().sum;
        c.weights.assign(w.begin(), w.end());
        break;
    }
    case RandomnessTest::Range:
        for (int r = 4; r <= 30; ++r) {
            c.observed.push_back(s.range[static_cast<std::size_t>(r)]);
            c.weights.push_back((31 - r) * choose(r - 1, 3));
        }
        break;
    case RandomnessTest::Consecutive: {
        c.observed.assign(s.consecutive.begin(), s.consecutive.end());
        const auto& w = setWeights().consecutive;
        c.weights.assign(w.begin(), w.end());
        break;
    }
    case RandomnessTest::CarryOver:
        c.draws = s.carryDraws;
        for (int k = 0; k <= 5; ++k) {
            c.observed.push_back(s.carryOver[static_cast<std::size_t>(k)]);
            c.weights.push_back(choose(5, k) * choose(26, 5 - k));
        }
        break;
    default: break;
    }
    return c;
}

}  // namespace

std::vector<std::size_t> mergedCategoryStarts(std::span<const long long> weights, long long draws) {
    long long total = 0;
    for (long long w : weights) total += w;
    std::vector<std::size_t> starts;
    std::vector<long long> merged(weights.begin(), weights.end());
    for (std::size_t i = 0; i < weights.size(); ++i) starts.push_back(i);
    auto small = [&](std::size_t i) { return draws * merged[i] < 5 * total; };
    // Category i and the next become one, starting where i starts.
    auto joinNext = [&](std::size_t i) {
        merged[i + 1] += merged[i];
        starts[i + 1] = starts[i];
        merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(i));
        starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(i));
    };
    while (merged.size() >= 2 && small(0)) joinNext(0);
    while (merged.size() >= 2 && small(merged.size() - 1)) joinNext(merged.size() - 2);
    for (std::size_t i = 0; i + 1 < merged.size();) {
        if (small(i)) joinNext(i);
        else ++i;
    }
    return starts;
}

double chiSquareTail(double x, int df) {
    const boost::math::chi_squared dist(df);
    return boost::math::cdf(boost::math::complement(dist, x));
}

Verdict verdictOf(double p) {
    if (p >= 0.05) return Verdict::WithinChance;
    if (p >= 0.01) return Verdict::SlightBias;
    return Verdict::Bias;
}

const char* verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::WithinChance: return "偶然の範囲内";
    case Verdict::SlightBias: return "やや偏り";
    case Verdict::Bias: return "偏りあり";
    }
    return "";
}

namespace {

TestResult untested(const HistoryStats& stats, RandomnessTest test) {
    TestResult r;
    r.test = test;
    r.observations = test == RandomnessTest::CarryOver ? stats.carryDraws : stats.draws;
    if (test != RandomnessTest::Groups) r.pChi2 = 1.0;
    return r;
}

Sampler samplerFor(const RandomnessOptions& options, RandomnessTest test) {
    return Sampler(options.seed + static_cast<std::uint64_t>(test));
}

// Frequency and groups from the same simulated histories (the stream of
// frequency): groups are sums of the numbers' counts.
std::array<TestResult, 2> numberTests(const HistoryStats& stats, const RandomnessOptions& options) {
    std::array<TestResult, 2> r = {untested(stats, RandomnessTest::Frequency), untested(stats, RandomnessTest::Groups)};
    if (stats.draws < 2) return r;
    const long long w = stats.draws;
    std::array<long long, 31> counts{};
    std::copy(stats.main.begin() + 1, stats.main.end(), counts.begin());
    std::array<long long, 6> groups{};
    std::copy(stats.groups.begin(), stats.groups.end(), groups.begin());
    r[0].statistic = frequencyStatistic(counts, w);
    r[0].df = 30;
    r[1].statistic = groupsStatistic(groups, w);
    r[1].df = 5;

    static const FiveSetBlocks singles(kSingles);
    Sampler sampler = samplerFor(options, RandomnessTest::Frequency);
    const double frequencyAtLeast = atLeast(r[0].statistic), groupsAtLeast = atLeast(r[1].statistic);
    long long frequencyCount = 0, groupsCount = 0;
    for (int i = 0; i < options.simulations; ++i) {
        singles.sample(sampler, w, counts);
        for (std::size_t g = 0; g < 6; ++g) {
            const std::size_t end = g == 5 ? 31 : 5 * g + 5;
            groups[g] = 0;
            for (std::size_t v = 5 * g; v < end; ++v) groups[g] += counts[v];
        }
        frequencyCount += frequencyStatistic(counts, w) >= frequencyAtLeast;
        groupsCount += groupsStatistic(groups, w) >= groupsAtLeast;
    }
    r[0].pSimulated = simulatedP(frequencyCount, options.simulations);
    r[0].pChi2 = chiSquareTail(r[0].statistic, r[0].df);
    r[1].pSimulated = simulatedP(groupsCount, options.simulations);
    return r;  // groups: no chi-square tail, the scaled statistic is only roughly chi-square
}

TestResult bonusTest(const HistoryStats& stats, const RandomnessOptions& options) {
    TestResult r = untested(stats, RandomnessTest::Bonus);
    if (stats.draws < 2) return r;
    const long long w = stats.draws;
    std::array<long long, 31> counts{}, weights{};
    std::copy(stats.bonus.begin() + 1, stats.bonus.end(), counts.begin());
    weights.fill(1);
    r.statistic = pearson(counts, weights, w);
    r.df = 30;
    const std::vector<double> chain = chainProbabilities(weights);
    Sampler sampler = samplerFor(options, RandomnessTest::Bonus);
    const double least = atLeast(r.statistic);
    long long count = 0;
    for (int i = 0; i < options.simulations; ++i) {
        sampler.multinomial(w, chain, counts);
        count += pearson(counts, weights, w) >= least;
    }
    r.pSimulated = simulatedP(count, options.simulations);
    r.pChi2 = chiSquareTail(r.statistic, r.df);
    return r;
}

TestResult perDrawTest(const HistoryStats& stats, RandomnessTest test, const RandomnessOptions& options) {
    TestResult r = untested(stats, test);
    if (stats.draws < 2) return r;
    const Categories all = perDrawCategories(stats, test);
    const std::vector<std::size_t> starts = mergedCategoryStarts(all.weights, all.draws);
    if (starts.size() < 2) return r;
    std::vector<long long> observed, weights;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : all.weights.size();
        long long o = 0, wt = 0;
        for (std::size_t i = starts[k]; i < end; ++i) {
            o += all.observed[i];
            wt += all.weights[i];
        }
        observed.push_back(o);
        weights.push_back(wt);
    }
    const long long n = all.draws;
    r.statistic = pearson(observed, weights, n);
    r.df = static_cast<int>(weights.size()) - 1;
    const std::vector<double> chain = chainProbabilities(weights);
    Sampler sampler = samplerFor(options, test);
    const double least = atLeast(r.statistic);
    std::vector<long long> counts(weights.size());
    long long count = 0;
    for (int i = 0; i < options.simulations; ++i) {
        sampler.multinomial(n, chain, counts);
        count += pearson(counts, weights, n) >= least;
    }
    r.pSimulated = simulatedP(count, options.simulations);
    r.pChi2 = chiSquareTail(r.statistic, r.df);
    return r;
}

}  // namespace

TestResult randomnessTest(const HistoryStats& stats, RandomnessTest test, const RandomnessOptions& options) {
    switch (test) {
    case RandomnessTest::Frequency: return numberTests(stats, options)[0];
    case RandomnessTest::Groups: return numberTests(stats, options)[1];
    case RandomnessTest::Bonus: return bonusTest(stats, options);
    default: return perDrawTest(stats, test, options);
    }
}

RandomnessReport randomnessReport(const HistoryStats& stats, const RandomnessOptions& options,
                                  const std::function<bool(int done)>& progress) {
    RandomnessReport report;
    report.draws = stats.draws;
    double smallest = 1;
    int testable = 0;
    std::array<TestResult, 2> numbers{};
    for (int t = 0; t < kRandomnessTestCount; ++t) {
        const auto test = static_cast<RandomnessTest>(t);
        TestResult& result = report.tests[static_cast<std::size_t>(t)];
        if (test == RandomnessTest::Frequency) numbers = numberTests(stats, options);
        result = test == RandomnessTest::Frequency ? numbers[0]
                 : test == RandomnessTest::Groups  ? numbers[1]
                                                   : randomnessTest(stats, test, options);
        // An untestable test's p of 1 says nothing: Holm counts only the others.
        if (result.testable()) {
            smallest = std::min(smallest, result.p());
            ++testable;
        }
        if (progress && !progress(t + 1)) return report;
    }
    report.testable = testable;
    report.holmMinP = testable == 0 ? 1.0 : std::min(1.0, testable * smallest);
    report.complete = true;
    return report;
}

std::string randomnessText(const RandomnessReport& report) {
    std::string out = "draws," + std::to_string(report.draws) + "\ntest,statistic,df,p_chi2,p_simulated,verdict\n";
    char buf[128];
    for (const TestResult& t : report.tests) {
        std::string chi2;
        if (t.pChi2) {
            std::snprintf(buf, sizeof buf, "%.4f", *t.pChi2);
            chi2 = buf;
        }
        std::snprintf(buf, sizeof buf, "%s,%.3f,%d,%s,%.4f,", testName(t.test), t.statistic, t.df, chi2.c_str(),
                      t.pSimulated);
        out.append(buf).append(verdictText(t)).append("\n");
    }
    std::snprintf(buf, sizeof buf, "holm_min_p,%.4f\n", report.holmMinP);
    return out + buf;
}

const char* testName(RandomnessTest test) {
    static constexpr const char* kNames[] = {"frequency", "bonus",       "odd_even",   "sum",
                                             "range",     "consecutive", "carry_over", "groups"};
    return kNames[static_cast<int>(test)];
}

const char* testCaption(RandomnessTest test) {
    static constexpr const char* kCaptions[] = {"出現回数（本数字）", "出現回数（ボーナス）",
                                                "奇数・偶数",         "合計",
                                                "ばらつき",           "連番",
                                                "引っ張り",           "６分割（近似）"};
    return kCaptions[static_cast<int>(test)];
}

std::optional<RandomnessTest> testOfAnalysis(Analysis analysis) {
    switch (analysis) {
    case Analysis::Frequency: return RandomnessTest::Frequency;
    case Analysis::OddEven: return RandomnessTest::OddEven;
    case Analysis::Sum: return RandomnessTest::Sum;
    case Analysis::Range: return RandomnessTest::Range;
    case Analysis::Consecutive: return RandomnessTest::Consecutive;
    case Analysis::Groups: return RandomnessTest::Groups;
    case Analysis::CarryOver: return RandomnessTest::CarryOver;
    case Analysis::Gaps: return std::nullopt;
    }
    return std::nullopt;
}

const char* verdictText(const TestResult& result) {
    return result.testable() ? verdictText(result.verdict()) : "検定できません";
}

std::string chanceSentence(const TestResult& result) {
    if (!result.testable()) return "回数が少なすぎるため、この検定はできません。";
    struct Scale {
        double times;
        const char* text;
    };
    static constexpr Scale kScales[] = {{100, "100 回"}, {1000, "1000 回"}, {10000, "1 万回"}};
    const double p = result.p();
    for (const Scale& s : kScales) {
        const long long n = static_cast<long long>(std::floor(p * s.times + 0.5));
        if (n >= static_cast<long long>(s.times)) return "この程度のばらつきは、無作為な抽せんでもほぼ毎回起こります。";
        if (n >= 1)
            return std::string("この偏りは、無作為な抽せんでも ") + s.text + "中 " + std::to_string(n) +
                   " 回は起こる程度です。";
    }
    return "この偏りは、無作為な抽せんでは 1 万回に 1 回も起こらない程度です。";
}

std::string manyTestsSentence(const RandomnessReport& report) {
    const int t = std::max(report.testable, 1);
    // Of T tests on random draws, one or more reach p < 0.05 with chance
    // 1 - 0.95^T: about once in N runs.
    const long long once = std::llround(1 / (1 - std::pow(0.95, t)));
    char p[32];
    std::snprintf(p, sizeof p, "%.4f", report.holmMinP);
    // Frequency, bonus and groups need only two draws: T is never below 3.
    std::string s = std::to_string(t) + " つの検定をすると、無作為な抽せんでも " + std::to_string(once) +
                    " 回に 1 回ほどはどれかが「やや偏り」以上になります。それを補正した最も小さい p 値（Holm）は ";
    s += p;
    switch (verdictOf(report.holmMinP)) {
    case Verdict::WithinChance: s += " で、まとめて見れば偶然の範囲内です。"; break;
    case Verdict::SlightBias: s += " で、まとめて見てもやや偏りがあります。"; break;
    case Verdict::Bias: s += " で、まとめて見ても偏りがあります。"; break;
    }
    if (t < kRandomnessTestCount)
        s += "ほかの " + std::to_string(kRandomnessTestCount - t) + " つは回数が少なすぎるため検定できません。";
    return s;
}

}  // namespace kazuban::analysis
