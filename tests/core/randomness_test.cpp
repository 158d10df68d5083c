// The exact samplers of the randomness tests' simulations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/sampling.h"

namespace kazuban::analysis {
namespace {

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
