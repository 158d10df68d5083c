#include "analysis/sampling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kazuban::analysis {

namespace {

// log k! - ((k + 1/2) log(k + 1) - (k + 1) + log(2 pi) / 2): Stirling's
// correction, from a table below 10.
double stirlingCorrection(long long k) {
    static constexpr double kSmall[10] = {0.08106146679532726, 0.04134069595540929, 0.02767792568499834,
                                          0.02079067210376509, 0.01664469118982119, 0.01387612882307075,
                                          0.01189670994589177, 0.01041126526197209, 0.009255462182712733,
                                          0.008330563433362871};
    if (k < 10) return kSmall[k];
    const double inv = 1.0 / static_cast<double>(k + 1);
    const double inv2 = inv * inv;
    return (1.0 / 12 - (1.0 / 360 - 1.0 / 1260 * inv2) * inv2) * inv;
}

double powerOf(double q, long long n) {
    double result = 1;
    for (; n > 0; n >>= 1, q *= q)
        if (n & 1) result *= q;
    return result;
}

// C(n, k) for n <= 31, k <= 5.
constexpr std::array<std::array<long long, 6>, 32> kChoose = [] {
    std::array<std::array<long long, 6>, 32> c{};
    for (std::size_t n = 0; n < 32; ++n) {
        c[n][0] = 1;
        for (std::size_t k = 1; k < 6 && k <= n; ++k) c[n][k] = c[n - 1][k - 1] + (k < n ? c[n - 1][k] : 0);
    }
    return c;
}();

}  // namespace

double portableLog(double x) {
    int e = 0;
    double m = std::frexp(x, &e);  // x = m 2^e, m in [1/2, 1): exact
    if (m < 0.70710678118654752) {
        m *= 2;
        --e;
    }
    // log m = 2 atanh(s) = 2 (s + s^3/3 + s^5/5 + ...), |s| < 0.172: 13 terms
    // leave less than 1e-21.
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    double series = 1.0 / 25;
    for (int k = 11; k >= 0; --k) series = series * s2 + 1.0 / (2 * k + 1);
    constexpr double kLn2High = 6.93147180369123816490e-01;  // low bits zero: e * kLn2High is exact
    constexpr double kLn2Low = 1.90821492927058770002e-10;
    return e * kLn2High + (2 * s * series + e * kLn2Low);
}

long long Sampler::binomial(long long n, double p) {
    if (n <= 0 || p <= 0) return 0;
    if (p >= 1) return n;
    if (p > 0.5) return n - binomial(n, 1 - p);
    if (static_cast<double>(n) * p < 10) return binomialInversion(n, p);
    return binomialRejection(n, p);
}

long long Sampler::binomialInversion(long long n, double p) {
    const double r = p / (1 - p);
    const double atZero = powerOf(1 - p, n);
    for (;;) {
        double u = uniform();
        double f = atZero;
        long long x = 0;
        while (u >= f && x <= n) {
            u -= f;
            ++x;
            f *= r * static_cast<double>(n - x + 1) / static_cast<double>(x);
        }
        if (x <= n) return x;  // otherwise rounding left u beyond the whole mass: draw again
    }
}

// W. Hörmann, "The generation of binomial random variates", J. Statist.
// Comput. Simul. 46 (1993), algorithm BTRD; here n p >= 10, p <= 1/2. The
// divisions of the paper's tests are turned into products where that is
// exact algebra.
long long Sampler::binomialRejection(long long n, double p) {
    const double nd = static_cast<double>(n);
    const double q = 1 - p;
    const double npq = nd * p * q;
    const double spq = std::sqrt(npq);
    const double b = 1.15 + 2.53 * spq;
    const double a = -0.0873 + 0.0248 * b + 0.01 * p;
    const double c = nd * p + 0.5;
    const double toBox = b / (0.92 * b - 4.2);  // 1 / v_r, v_r = 0.92 - 4.2 / b
    for (;;) {
        double v = uniform();
        double u = v * toBox;  // v / v_r
        if (u <= 0.86) {
            u -= 0.43;
            return static_cast<long long>(std::floor((2 * a / (0.5 - std::fabs(u)) + b) * u + c));
        }
        const double vr = 0.92 - 4.2 / b;
        if (u >= 1) {
            u = uniform() - 0.5;
        } else {
            u -= 0.93;
            u = (u < 0 ? -0.5 : 0.5) - u;
            v = uniform() * vr;
        }
        const double us = 0.5 - std::fabs(u);
        const double kd = std::floor((2 * a / us + b) * u + c);
        if (kd < 0 || kd > nd) continue;
        const long long k = static_cast<long long>(kd);
        const long long m = static_cast<long long>(std::floor((nd + 1) * p));  // the mode
        const double r = p / q;
        v = v * ((2.83 + 5.1 / b) * spq) / (a / (us * us) + b);
        const long long km = std::llabs(k - m);
        if (km <= 15) {
            // f(k) / f(m) from the ratios f(i) / f(i - 1) = (n - i + 1) r / i.
            double up = 1, down = 1;
            for (long long i = std::min(k, m) + 1; i <= std::max(k, m); ++i) {
                up *= static_cast<double>(n - i + 1) * r;
                down *= static_cast<double>(i);
            }
            if (m < k ? v * down <= up : v * up <= down) return k;
            continue;
        }
        // Squeeze, then log f(k) / f(m) by Stirling's formula.
        const double kmd = static_cast<double>(km);
        v = portableLog(v);
        const double rho = (kmd / npq) * (((kmd / 3 + 0.625) * kmd + 1.0 / 6) / npq + 0.5);
        const double t = -kmd * kmd / (2 * npq);
        if (v < t - rho) return k;
        if (v > t + rho) continue;
        const double md = static_cast<double>(m);
        const double nm = nd - md + 1;
        const double h =
            (md + 0.5) * portableLog((md + 1) / (r * nm)) + stirlingCorrection(m) + stirlingCorrection(n - m);
        const double nk = nd - kd + 1;
        if (v <= h + (nd + 1) * portableLog(nm / nk) + (kd + 0.5) * portableLog(nk * r / (kd + 1)) -
                     stirlingCorrection(k) - stirlingCorrection(n - k))
            return k;
    }
}

std::vector<double> chainProbabilities(std::span<const long long> weights) {
    long long rest = 0;
    for (long long w : weights) rest += w;
    std::vector<double> chain;
    for (long long w : weights) {
        chain.push_back(rest == 0 ? 0 : static_cast<double>(w) / static_cast<double>(rest));
        rest -= w;
    }
    return chain;
}

void Sampler::multinomial(long long n, std::span<const double> chain, std::span<long long> counts) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const long long x = n == 0 ? 0 : binomial(n, chain[i]);
        counts[i] = x;
        n -= x;
    }
}

// The draws are followed block by block: byClass[k] draws still have k of
// their five numbers among the `left` numbers not yet passed. A block of s
// numbers takes j of them with the hypergeometric weights C(s, j) C(left - s,
// k - j).
FiveSetBlocks::FiveSetBlocks(std::span<const int> sizes) {
    int left = 31;
    for (std::size_t block = 0; block + 1 < sizes.size(); ++block) {
        const int s = sizes[block];
        std::array<Split, 6> splits{};
        for (int k = 1; k <= 5; ++k) {
            Split& split = splits[static_cast<std::size_t>(k)];
            split.most = std::min(k, s);
            std::vector<long long> weights;
            for (int j = split.most; j >= 0; --j)
                weights.push_back(kChoose[static_cast<std::size_t>(s)][static_cast<std::size_t>(j)] *
                                  kChoose[static_cast<std::size_t>(left - s)][static_cast<std::size_t>(k - j)]);
            const std::vector<double> chain = chainProbabilities(weights);
            std::copy(chain.begin(), chain.end(), split.chain.begin());
        }
        blocks_.push_back(splits);
        left -= s;
    }
}

void FiveSetBlocks::sample(Sampler& sampler, long long draws, std::span<long long> counts) const {
    std::array<long long, 6> byClass{0, 0, 0, 0, 0, draws};
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
        std::array<long long, 6> next{byClass[0], 0, 0, 0, 0, 0};
        long long taken = 0;
        for (std::size_t k = 1; k <= 5; ++k) {
            long long n = byClass[k];
            const Split& split = blocks_[block][k];
            for (int i = 0; i <= split.most && n > 0; ++i) {
                const long long j = split.most - i;
                const long long x = sampler.binomial(n, split.chain[static_cast<std::size_t>(i)]);
                next[k - static_cast<std::size_t>(j)] += x;
                taken += j * x;
                n -= x;
            }
        }
        counts[block] = taken;
        byClass = next;
    }
    long long rest = 0;
    for (std::size_t k = 1; k <= 5; ++k) rest += static_cast<long long>(k) * byClass[k];
    counts[blocks_.size()] = rest;
}

}  // namespace kazuban::analysis
