#include "analysis/popularity.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "analysis/binomials.h"
#include "analysis/draws.h"
#include "analysis/odds.h"

namespace kazuban::analysis {

// ---- the draws -----------------------------------------------------------------

std::vector<CountedDraw> countedDraws(const history::DrawHistory& history, const history::PayoutTable& payouts,
                                      int to) {
    std::vector<CountedDraw> out;
    for (int n = 1; n <= std::min(to, history.maxn()); ++n) {
        const ComboMask m = mainMask(history, n);
        if (m == 0) continue;
        const auto p = payouts.find(n);
        if (p == payouts.end()) continue;
        CountedDraw d;
        bool counts = true;
        for (int g = 0; g < 4; ++g) {
            const auto& w = p->second.fields[static_cast<std::size_t>(history::kWinnersField + g)];
            if (!w) counts = false;
            d.winners[static_cast<std::size_t>(g)] = w.value_or(0);
            d.prizes[static_cast<std::size_t>(g)] = p->second.prize(g + 1);
        }
        if (!counts || d.winners[3] <= 0) continue;
        d.number = n;
        d.main = m;
        d.previous = n > 1 ? mainMask(history, n - 1) : 0;
        d.prizesKnown = p->second.hasPrizes();
        out.push_back(d);
    }
    return out;
}

// ---- features -------------------------------------------------------------------

namespace {

constexpr std::array<int, kFeatureGroups + 1> kGroupBegin{0, 31, 33, 34, 35, 37, 39, 40, 41, 42, 44, 46};
static_assert(kGroupBegin[kFeatureGroups] == kFeatureColumns);
constexpr std::array<const char*, kFeatureGroups> kGroupNames{"numbers",     "months",      "fives",     "sevens",
                                                              "progression", "consecutive", "sheet_row", "sheet_column",
                                                              "repeats",     "parity",      "cluster"};
constexpr std::array<const char*, kFeatureColumns - 31> kPatternColumns{
    "months_count",       "months_all",        "fives_count",  "sevens_count",    "progression_five",
    "progression_threes", "consecutive_pairs", "run_of_three", "sheet_row_pairs", "sheet_column_pairs",
    "repeats_count",      "all_odd",           "all_even",     "within_ten",      "span"};

// The mark-sheet view's figure: number n in column (n - 1) / 10, row (n - 1) % 10.
constexpr int sheetColumn(int n) { return (n - 1) / 10; }
constexpr int sheetRow(int n) { return (n - 1) % 10; }

void sortedNumbers(ComboMask m, std::array<int, 5>& v) {
    int k = 0;
    for (ComboMask rest = m & 0xFFFFFFFEu; rest != 0 && k < 5; rest &= rest - 1)
        v[static_cast<std::size_t>(k++)] = std::countr_zero(rest);
}

}  // namespace

int groupBegin(int g) {
    return kGroupBegin[static_cast<std::size_t>(std::clamp(g, 0, static_cast<int>(kFeatureGroups)))];
}
const char* groupName(int g) { return kGroupNames[static_cast<std::size_t>(g)]; }
std::string columnName(int column) {
    if (column < 31) return "n" + std::to_string(column + 1);
    return kPatternColumns[static_cast<std::size_t>(column - 31)];
}

FeatureVector featuresOf(ComboMask t, ComboMask previous) {
    FeatureVector f{};
    std::array<int, 5> a{};
    sortedNumbers(t, a);
    int months = 0, fives = 0, sevens = 0, odd = 0;
    for (int v : a) {
        f[static_cast<std::size_t>(v - 1)] = 1;
        months += v <= 12;
        fives += v % 5 == 0;
        sevens += v % 7 == 0;
        odd += v % 2;
    }
    f[31] = months;
    f[32] = months == 5;
    f[33] = fives;
    f[34] = sevens;
    const int gap = a[1] - a[0];
    f[35] = a[2] - a[1] == gap && a[3] - a[2] == gap && a[4] - a[3] == gap;
    int threes = 0, rowPairs = 0, columnPairs = 0;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j) {
            rowPairs += sheetRow(a[i]) == sheetRow(a[j]);
            columnPairs += sheetColumn(a[i]) == sheetColumn(a[j]);
            const ComboMask third = ComboMask{1} << std::min(2 * a[j] - a[i], 31);
            threes += 2 * a[j] - a[i] <= 31 && (t & third) != 0;
        }
    f[36] = threes;
    int pairs = 0, run = 1, longest = 1;
    for (int i = 1; i < 5; ++i) {
        const bool next = a[i] == a[i - 1] + 1;
        pairs += next;
        run = next ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    f[37] = pairs;
    f[38] = longest >= 3;
    f[39] = rowPairs;
    f[40] = columnPairs;
    f[41] = std::popcount(t & previous & 0xFFFFFFFEu);
    f[42] = odd == 5;
    f[43] = odd == 0;
    f[44] = a[4] - a[0] <= 10;
    f[45] = (a[4] - a[0]) / 30.0;
    return f;
}

double LinearModel::eta(const FeatureVector& x) const {
    double s = intercept;
    for (int j = 0; j < kFeatureColumns; ++j) s += beta[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
    return s;
}

// ---- the regression -------------------------------------------------------------

namespace {

// Solves the symmetric positive definite system a x = b in place (b becomes x).
bool choleskySolve(std::vector<double>& a, std::vector<double>& b, int n) {
    for (int j = 0; j < n; ++j) {
        double d = a[static_cast<std::size_t>(j * n + j)];
        for (int k = 0; k < j; ++k)
            d -= a[static_cast<std::size_t>(j * n + k)] * a[static_cast<std::size_t>(j * n + k)];
        if (!(d > 0)) return false;
        d = std::sqrt(d);
        a[static_cast<std::size_t>(j * n + j)] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = a[static_cast<std::size_t>(i * n + j)];
            for (int k = 0; k < j; ++k)
                s -= a[static_cast<std::size_t>(i * n + k)] * a[static_cast<std::size_t>(j * n + k)];
            a[static_cast<std::size_t>(i * n + j)] = s / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        double s = b[static_cast<std::size_t>(i)];
        for (int k = 0; k < i; ++k) s -= a[static_cast<std::size_t>(i * n + k)] * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] = s / a[static_cast<std::size_t>(i * n + i)];
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = b[static_cast<std::size_t>(i)];
        for (int k = i + 1; k < n; ++k) s -= a[static_cast<std::size_t>(k * n + i)] * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] = s / a[static_cast<std::size_t>(i * n + i)];
    }
    return true;
}

}  // namespace

LinearModel fitRidgePoisson(const PoissonData& data, GroupSet groups, double lambda) {
    const std::size_t n = data.y.size();
    LinearModel model;
    double sumY = 0, sumE = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sumY += data.y[i];
        sumE += data.exposure[i];
    }
    if (n == 0 || sumE <= 0) return model;
    // The chosen columns that vary, standardised.
    std::vector<int> cols;
    std::vector<double> mean, sd;
    for (int g = 0; g < kFeatureGroups; ++g) {
        if ((groups & (1u << g)) == 0) continue;
        for (int c = groupBegin(g); c < groupBegin(g + 1); ++c) {
            double m = 0, q = 0;
            for (std::size_t i = 0; i < n; ++i) m += data.x[i][static_cast<std::size_t>(c)];
            m /= static_cast<double>(n);
            for (std::size_t i = 0; i < n; ++i) {
                const double d = data.x[i][static_cast<std::size_t>(c)] - m;
                q += d * d;
            }
            const double s = std::sqrt(q / static_cast<double>(n));
            if (s < 1e-12) continue;
            cols.push_back(c);
            mean.push_back(m);
            sd.push_back(s);
        }
    }
    const int p = static_cast<int>(cols.size()) + 1;
    std::vector<double> z(n * static_cast<std::size_t>(p));
    std::vector<double> logE(n);
    for (std::size_t i = 0; i < n; ++i) {
        z[i * static_cast<std::size_t>(p)] = 1;
        for (int j = 1; j < p; ++j) {
            const auto c = static_cast<std::size_t>(cols[static_cast<std::size_t>(j - 1)]);
            z[i * static_cast<std::size_t>(p) + static_cast<std::size_t>(j)] =
                (data.x[i][c] - mean[static_cast<std::size_t>(j - 1)]) / sd[static_cast<std::size_t>(j - 1)];
        }
        logE[i] = std::log(data.exposure[i]);
    }
    std::vector<double> b(static_cast<std::size_t>(p), 0.0);
    b[0] = std::log(std::max(sumY, 1e-9) / sumE);
    std::vector<double> eta(n), mu(n);
    auto objective = [&](const std::vector<double>& coef) {
        double l = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double e = logE[i];
            for (int j = 0; j < p; ++j)
                e += z[i * static_cast<std::size_t>(p) + static_cast<std::size_t>(j)] *
                     coef[static_cast<std::size_t>(j)];
            eta[i] = e;
            mu[i] = std::exp(e);
            l += data.y[i] * e - mu[i];
        }
        for (int j = 1; j < p; ++j)
            l -= 0.5 * lambda * coef[static_cast<std::size_t>(j)] * coef[static_cast<std::size_t>(j)];
        return l;
    };
    double current = objective(b);
    std::vector<double> h(static_cast<std::size_t>(p * p)), g(static_cast<std::size_t>(p)), trial(b.size());
    for (int iter = 0; iter < 50; ++iter) {
        std::fill(h.begin(), h.end(), 0.0);
        std::fill(g.begin(), g.end(), 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            const double* zi = &z[i * static_cast<std::size_t>(p)];
            const double r = data.y[i] - mu[i];
            for (int j = 0; j < p; ++j) {
                g[static_cast<std::size_t>(j)] += zi[j] * r;
                const double w = mu[i] * zi[j];
                for (int k = 0; k <= j; ++k) h[static_cast<std::size_t>(j * p + k)] += w * zi[k];
            }
        }
        for (int j = 1; j < p; ++j) {
            g[static_cast<std::size_t>(j)] -= lambda * b[static_cast<std::size_t>(j)];
            h[static_cast<std::size_t>(j * p + j)] += lambda;
        }
        for (int j = 0; j < p; ++j)
            for (int k = j + 1; k < p; ++k)
                h[static_cast<std::size_t>(j * p + k)] = h[static_cast<std::size_t>(k * p + j)];
        if (!choleskySolve(h, g, p)) break;
        double step = 1, next = -std::numeric_limits<double>::infinity();
        for (int half = 0; half < 30; ++half, step /= 2) {
            for (int j = 0; j < p; ++j)
                trial[static_cast<std::size_t>(j)] =
                    b[static_cast<std::size_t>(j)] + step * g[static_cast<std::size_t>(j)];
            next = objective(trial);
            if (next >= current) break;
        }
        if (!(next >= current)) {
            objective(b);  // leave eta and mu at b
            break;
        }
        b = trial;
        const double gain = next - current;
        current = next;
        if (gain < 1e-10 * (1 + std::abs(current))) break;
    }
    // Back to the raw columns.
    model.intercept = b[0];
    for (int j = 1; j < p; ++j) {
        const double raw = b[static_cast<std::size_t>(j)] / sd[static_cast<std::size_t>(j - 1)];
        model.beta[static_cast<std::size_t>(cols[static_cast<std::size_t>(j - 1)])] = raw;
        model.intercept -= raw * mean[static_cast<std::size_t>(j - 1)];
    }
    return model;
}

double poissonDeviance(const std::vector<double>& y, const std::vector<double>& mu) {
    double d = 0;
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double m = std::max(mu[i], 1e-300);
        d += (y[i] > 0 ? y[i] * std::log(y[i] / m) : 0.0) - (y[i] - m);
    }
    return 2 * d;
}

PoissonData popularityData(const std::vector<CountedDraw>& draws, Target target) {
    PoissonData d;
    for (const CountedDraw& c : draws) {
        d.x.push_back(featuresOf(c.main, c.previous));
        const double perSet = static_cast<double>(c.winners[3]) / kFourSets;
        if (target == Target::Set) {
            d.y.push_back(static_cast<double>(c.winners[0]));
            d.exposure.push_back(perSet);
        } else {
            d.y.push_back(static_cast<double>(c.winners[1] + c.winners[2]));
            d.exposure.push_back(perSet * kNeighbourSets);
        }
    }
    return d;
}

// ---- choosing the features --------------------------------------------------------

namespace {

PoissonData slice(const PoissonData& d, std::size_t from, std::size_t to) {
    PoissonData s;
    s.x.assign(d.x.begin() + static_cast<std::ptrdiff_t>(from), d.x.begin() + static_cast<std::ptrdiff_t>(to));
    s.y.assign(d.y.begin() + static_cast<std::ptrdiff_t>(from), d.y.begin() + static_cast<std::ptrdiff_t>(to));
    s.exposure.assign(d.exposure.begin() + static_cast<std::ptrdiff_t>(from),
                      d.exposure.begin() + static_cast<std::ptrdiff_t>(to));
    return s;
}

// The summed deviance of the rolling folds, relative to that of the null model.
double foldRatio(const PoissonData& data, GroupSet groups, double lambda) {
    const std::size_t n = data.y.size();
    double dev = 0, nullDev = 0;
    for (int k = 5; k < 10; ++k) {
        const std::size_t cut = n * static_cast<std::size_t>(k) / 10, end = n * static_cast<std::size_t>(k + 1) / 10;
        const PoissonData train = slice(data, 0, cut), test = slice(data, cut, end);
        const LinearModel m = fitRidgePoisson(train, groups, lambda);
        const LinearModel null = fitRidgePoisson(train, 0, lambda);
        std::vector<double> mu, mu0;
        for (std::size_t i = 0; i < test.y.size(); ++i) {
            mu.push_back(test.exposure[i] * std::exp(m.eta(test.x[i])));
            mu0.push_back(test.exposure[i] * std::exp(null.eta(test.x[i])));
        }
        dev += poissonDeviance(test.y, mu);
        nullDev += poissonDeviance(test.y, mu0);
    }
    return nullDev > 0 ? dev / nullDev : 1.0;
}

}  // namespace

ModelChoice selectModel(const std::vector<CountedDraw>& draws, Target target, std::string* log) {
    const PoissonData data = popularityData(draws, target);
    constexpr std::array<double, 5> kLambdas{1, 3, 10, 30, 100};
    ModelChoice choice{0, kLambdas[2]};
    double best = foldRatio(data, 0, choice.lambda);
    char buf[160];
    // Each step adds the group (at its best lambda) that predicts the later
    // folds best, while that gains at least 0.1 %.
    for (;;) {
        ModelChoice next = choice;
        double nextRatio = best;
        for (int g = 0; g < kFeatureGroups; ++g) {
            if ((choice.groups & (1u << g)) != 0) continue;
            for (double lambda : kLambdas) {
                const double r = foldRatio(data, choice.groups | (1u << g), lambda);
                if (r < nextRatio) {
                    nextRatio = r;
                    next = {choice.groups | (1u << g), lambda};
                }
            }
        }
        if (next.groups == choice.groups || nextRatio > best * 0.999) break;
        if (log) {
            std::snprintf(buf, sizeof buf, "add %s (lambda %.0f): %.4f\n",
                          groupName(std::countr_zero(next.groups & ~choice.groups)), next.lambda, nextRatio);
            *log += buf;
        }
        choice = next;
        best = nextRatio;
    }
    return choice;
}

ModelChoice defaultChoice(Target target) {
    // selectModel on draws 1..800 of the published results; draws 801..1000
    // took no part in the choice.
    constexpr auto bit = [](int g) { return 1u << g; };
    if (target == Target::Set)
        return {bit(kNumbersGroup) | bit(kProgressionGroup) | bit(kConsecutiveGroup) | bit(kSheetColumnGroup) |
                    bit(kRepeatsGroup) | bit(kParityGroup) | bit(kClusterGroup),
                1};
    return {bit(kMonthsGroup) | bit(kProgressionGroup) | bit(kConsecutiveGroup) | bit(kSheetRowGroup) |
                bit(kSheetColumnGroup) | bit(kRepeatsGroup) | bit(kParityGroup) | bit(kClusterGroup),
            100};
}

// ---- the estimate -------------------------------------------------------------------

// For a model: the sums over all main sets T containing A of exp(eta(T))
// with no previous draw, by the size of A, so that the mean after any
// previous draw needs only its 32 subsets.
struct SupersetSums {
    std::array<std::vector<double>, 6> bySize;
};
struct PopularitySums {
    SupersetSums set, neighbours;
};

namespace {

// Colex rank of the subset `m` (0-based values v - 1) among sets of its size.
int subsetRank(ComboMask m) {
    int r = 0, i = 0;
    for (ComboMask rest = m & 0xFFFFFFFEu; rest != 0; rest &= rest - 1, ++i)
        r += kBinom.c[std::countr_zero(rest) - 1][i + 1];
    return r;
}

std::shared_ptr<const std::vector<ComboMask>> allMainSets() {
    static const auto sets = [] {
        auto v = std::make_shared<std::vector<ComboMask>>();
        v->reserve(static_cast<std::size_t>(kMainSets));
        for (int a = 1; a <= 27; ++a)
            for (int b = a + 1; b <= 28; ++b)
                for (int c = b + 1; c <= 29; ++c)
                    for (int d = c + 1; d <= 30; ++d)
                        for (int e = d + 1; e <= 31; ++e)
                            v->push_back((1u << a) | (1u << b) | (1u << c) | (1u << d) | (1u << e));
        return v;
    }();
    return sets;
}

SupersetSums supersetSums(const LinearModel& m) {
    SupersetSums s;
    for (int k = 0; k <= 5; ++k)
        s.bySize[static_cast<std::size_t>(k)].assign(static_cast<std::size_t>(kBinom.c[31][k]), 0.0);
    for (ComboMask t : *allMainSets()) {
        const double w = std::exp(m.eta(featuresOf(t, 0)));
        // Every subset of t.
        for (ComboMask sub = t;; sub = (sub - 1) & t) {
            s.bySize[static_cast<std::size_t>(std::popcount(sub))][static_cast<std::size_t>(subsetRank(sub))] += w;
            if (sub == 0) break;
        }
    }
    return s;
}

// mean over T of exp(eta(T) + beta_rep |T n prev|) = mean of exp(eta0(T)) x
// prod over prev's numbers in T of r, r = exp(beta_rep); expanding the
// product over the subsets A of prev gives sum (r - 1)^|A| S(A).
double meanAfter(const SupersetSums& s, double beta, ComboMask prev) {
    const double r1 = std::exp(beta) - 1;
    double sum = 0;
    prev &= 0xFFFFFFFEu;
    for (ComboMask sub = prev;; sub = (sub - 1) & prev) {
        const int k = std::popcount(sub);
        sum += std::pow(r1, k) * s.bySize[static_cast<std::size_t>(k)][static_cast<std::size_t>(subsetRank(sub))];
        if (sub == 0) break;
    }
    return sum / static_cast<double>(kMainSets);
}

constexpr std::size_t kRepeatsColumn = 41;

}  // namespace

double expectedShare(double pool, double lambda, double cap) {
    if (pool <= 0) return 0;
    if (lambda < 1e-12) return cap > 0 ? std::min(pool, cap) : pool;
    double e = pool * -std::expm1(-lambda) / lambda;
    if (cap > 0) {
        // Subtract what the cap takes from the few shares above it.
        double pk = std::exp(-lambda);
        for (int k = 0; k < 1'000'000 && pool / (1 + k) > cap; ++k) {
            e -= pk * (pool / (1 + k) - cap);
            pk *= lambda / (k + 1);
        }
    }
    return e;
}

double PopularityModel::setMean(ComboMask prev) const {
    if (prev == previous || !sums_) return setMean_;
    return meanAfter(sums_->set, setModel.beta[kRepeatsColumn], prev);
}
double PopularityModel::neighbourMean(ComboMask prev) const {
    if (prev == previous || !sums_) return neighbourMean_;
    return meanAfter(sums_->neighbours, neighbourModel.beta[kRepeatsColumn], prev);
}

void PopularityModel::predictAfter(ComboMask prev) {
    previous = prev;
    if (!sums_) return;
    setMean_ = meanAfter(sums_->set, setModel.beta[kRepeatsColumn], prev);
    neighbourMean_ = meanAfter(sums_->neighbours, neighbourModel.beta[kRepeatsColumn], prev);
}

double PopularityModel::popularityAfter(ComboMask t, ComboMask prev) const {
    return std::exp(setModel.eta(featuresOf(t, prev))) / setMean(prev);
}
double PopularityModel::neighboursAfter(ComboMask t, ComboMask prev) const {
    return std::exp(neighbourModel.eta(featuresOf(t, prev))) / neighbourMean(prev);
}

double PopularityModel::prize1At(double pop) const {
    return expectedShare(yen.pool[0], pop * yen.avgWinners[0], static_cast<double>(kPrize1Cap));
}

double PopularityModel::expectedYenAt(double pop, double nb) const {
    // Outcomes per main set in which one set wins each grade: 1 of grade 1,
    // 5 x 26 / 26 of grade 2, 5 x 25 of grade 3, 3,250 of grade 4. The other
    // winners of grades 2 and 3 hold the set's four-number neighbours.
    const double w1 = prize1At(pop);
    const double w2 = 5 * expectedShare(yen.pool[1], nb * yen.avgWinners[1], 0);
    const double w3 = 125 * expectedShare(yen.pool[2], nb * yen.avgWinners[2], 0);
    const double w4 = kFourSets * expectedShare(yen.pool[3], yen.avgWinners[3], 0);
    return (w1 + w2 + w3 + w4) / static_cast<double>(kMainSets);
}

PopularityModel fitPopularity(const std::vector<CountedDraw>& draws, const ModelChoice& setChoice,
                              const ModelChoice& neighbourChoice) {
    PopularityModel m;
    m.draws = static_cast<int>(draws.size());
    if (draws.empty()) return m;
    m.lastDraw = draws.back().number;
    m.setModel = fitRidgePoisson(popularityData(draws, Target::Set), setChoice.groups, setChoice.lambda);
    m.neighbourModel =
        fitRidgePoisson(popularityData(draws, Target::Neighbours), neighbourChoice.groups, neighbourChoice.lambda);
    auto sums = std::make_shared<PopularitySums>();
    sums->set = supersetSums(m.setModel);
    sums->neighbours = supersetSums(m.neighbourModel);
    m.sums_ = sums;
    m.predictAfter(draws.back().main);

    double c1 = 0, p1 = 0, c23 = 0, p23 = 0;
    for (const CountedDraw& d : draws) {
        const double perSet = static_cast<double>(d.winners[3]) / kFourSets;
        c1 += static_cast<double>(d.winners[0]);
        p1 += m.popularityAfter(d.main, d.previous) * perSet;
        c23 += static_cast<double>(d.winners[1] + d.winners[2]);
        p23 += m.neighboursAfter(d.main, d.previous) * perSet * kNeighbourSets;
    }
    m.alphaSet = p1 > 0 ? c1 / p1 : 1;
    m.alphaNeighbours = p23 > 0 ? c23 / p23 : 1;

    // Sales and pools of the last draws.
    const std::size_t first = draws.size() > kYenDraws ? draws.size() - kYenDraws : 0;
    double c4 = 0, paid = 0, sold = 0;
    std::array<double, 4> pool{};
    std::array<int, 4> won{};
    for (std::size_t i = first; i < draws.size(); ++i) {
        const CountedDraw& d = draws[i];
        c4 += static_cast<double>(d.winners[3]);
        if (!d.prizesKnown) continue;
        for (std::size_t g = 0; g < 4; ++g) {
            const double yen = static_cast<double>(d.winners[g]) * static_cast<double>(d.prizes[g]);
            paid += yen;
            if (d.winners[g] > 0) {
                pool[g] += yen;
                ++won[g];
            }
        }
        sold += static_cast<double>(d.winners[3]) * static_cast<double>(kMainSets) / kFourSets;
    }
    const double perSet = c4 / static_cast<double>(draws.size() - first) / kFourSets;
    m.yen.ticketsPerSet = perSet;
    for (std::size_t g = 0; g < 4; ++g) m.yen.pool[g] = won[g] > 0 ? pool[g] / won[g] : 0;
    m.yen.avgWinners = {m.alphaSet * perSet, m.alphaNeighbours * 5 * perSet, m.alphaNeighbours * 125 * perSet,
                        perSet * kFourSets};
    m.yen.paidPerTicket = sold > 0 ? paid / sold : 0;
    return m;
}

PopularityModel fitPopularity(const std::vector<CountedDraw>& draws) {
    return fitPopularity(draws, defaultChoice(Target::Set), defaultChoice(Target::Neighbours));
}

HoldOut holdOut(const PopularityModel& model, const std::vector<CountedDraw>& training,
                const std::vector<CountedDraw>& later) {
    HoldOut h;
    h.draws = static_cast<int>(later.size());
    double c1 = 0, c23 = 0, e = 0;
    for (const CountedDraw& d : training) {
        c1 += static_cast<double>(d.winners[0]);
        c23 += static_cast<double>(d.winners[1] + d.winners[2]);
        e += static_cast<double>(d.winners[3]) / kFourSets;
    }
    const double null1 = e > 0 ? c1 / e : 0, null23 = e > 0 ? c23 / (e * kNeighbourSets) : 0;
    std::vector<double> y1, y23, mu1, mu23, n1, n23;
    for (const CountedDraw& d : later) {
        const double perSet = static_cast<double>(d.winners[3]) / kFourSets;
        y1.push_back(static_cast<double>(d.winners[0]));
        y23.push_back(static_cast<double>(d.winners[1] + d.winners[2]));
        mu1.push_back(model.alphaSet * model.popularityAfter(d.main, d.previous) * perSet);
        mu23.push_back(model.alphaNeighbours * model.neighboursAfter(d.main, d.previous) * perSet * kNeighbourSets);
        n1.push_back(null1 * perSet);
        n23.push_back(null23 * perSet * kNeighbourSets);
    }
    h.setDeviance = poissonDeviance(y1, mu1);
    h.setNullDeviance = poissonDeviance(y1, n1);
    h.neighbourDeviance = poissonDeviance(y23, mu23);
    h.neighbourNullDeviance = poissonDeviance(y23, n23);
    h.setRatio = h.setNullDeviance > 0 ? h.setDeviance / h.setNullDeviance : 0;
    h.neighbourRatio = h.neighbourNullDeviance > 0 ? h.neighbourDeviance / h.neighbourNullDeviance : 0;
    return h;
}

std::string formatPopularity(const PopularityModel& model, const std::vector<int>& rows,
                             const std::vector<ComboMask>& combos) {
    std::string out = "draws_fitted," + std::to_string(model.draws) + "\n";
    out += "row,n1,n2,n3,n4,n5,popularity,neighbours,prize1,expected_yen\n";
    char buf[64];
    for (std::size_t i = 0; i < combos.size(); ++i) {
        std::array<int, 5> v{};
        sortedNumbers(combos[i], v);
        out += std::to_string(i < rows.size() ? rows[i] : static_cast<int>(i) + 1);
        for (int x : v) out += "," + std::to_string(x);
        const double pop = model.popularity(combos[i]), nb = model.neighbours(combos[i]);
        std::snprintf(buf, sizeof buf, ",%.4f,%.4f,%lld,%.2f\n", pop, nb,
                      static_cast<long long>(std::llround(model.prize1At(pop))), model.expectedYenAt(pop, nb));
        out += buf;
    }
    return out;
}

std::vector<double> popularityDistribution(const PopularityModel& model) {
    std::vector<double> bins(static_cast<std::size_t>(kLogBins), 0.0);
    for (ComboMask t : *allMainSets()) {
        const double x = (std::log2(model.popularity(t)) - kLogBinStart) / kLogBinWidth;
        const int k = std::clamp(static_cast<int>(std::floor(x)), 0, kLogBins - 1);
        bins[static_cast<std::size_t>(k)] += 1.0 / static_cast<double>(kMainSets);
    }
    return bins;
}

double meanExpectedYen(const PopularityModel& model) {
    double sum = 0;
    for (ComboMask t : *allMainSets()) sum += model.expectedYen(t);
    return sum / static_cast<double>(kMainSets);
}

PopularityFigures popularityFigures(const PopularityModel& model, const std::vector<int>& rows,
                                    const std::vector<ComboMask>& combos) {
    PopularityFigures f;
    f.ready = true;
    f.draws = model.draws;
    f.lastDraw = model.lastDraw;
    for (std::size_t i = 0; i < combos.size(); ++i) {
        PopularityRow r;
        r.row = i < rows.size() ? rows[i] : static_cast<int>(i) + 1;
        r.combo = combos[i];
        r.popularity = model.popularity(r.combo);
        r.neighbours = model.neighbours(r.combo);
        r.prize1 = model.prize1At(r.popularity);
        r.expectedYen = model.expectedYenAt(r.popularity, r.neighbours);
        f.rows.push_back(r);
    }
    f.averagePrize1 = model.prize1At(1);
    f.averageYen = model.expectedYenAt(1, 1);
    return f;
}

std::string popularityText(double popularity) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "×%.2f", popularity);
    return buf;
}

std::string roundYenText(double yen) { return groupedText(std::llround(yen)) + "円"; }
std::string centsYenText(double yen) { return groupedDecimalText(yen, 2) + "円"; }

std::string popularitySummary(const PopularityFigures& f) {
    if (!f.ready) return f.message;
    return "当選口数の分かる " + groupedText(f.draws) + " 回（第" + std::to_string(f.lastDraw) +
           "回まで）からの推定です。当たる確率はどの組合せも同じで、変わるのは当たったときの分け前だけです。"
           "平均的な組合せ（人気度 ×1.00）なら 1等 " +
           roundYenText(f.averagePrize1) + "、期待払戻額は 200円あたり " + centsYenText(f.averageYen) + "。";
}

std::string tooFewDrawsMessage(int draws) {
    return "人気の推定には、当選口数の分かる回が " + std::to_string(kPopularityMinDraws) + " 回以上必要です（いまは " +
           std::to_string(draws) + " 回）。";
}

const char* const kNoPayoutFileMessage =
    "atarikin.csv がありません。◇当選番号 → 取り込み… で当選口数と払戻金の入った全回の CSV を取り込んでください。";

}  // namespace kazuban::analysis
