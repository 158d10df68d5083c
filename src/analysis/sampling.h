#pragma once
// Exact random samples for the simulations of the randomness tests. A sample
// depends only on the generator's 64-bit outputs and on IEEE double
// arithmetic (+ - * / and square root, and a logarithm of our own), never on
// a library's distributions or mathematical functions, so one seed gives the
// same figures on Linux, Windows and macOS.
#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace kazuban::analysis {

// The natural logarithm of x > 0 to within a few units in the last place,
// with the same digits on every platform.
double portableLog(double x);

// w[i] / (w[i] + ... + w[last]) for each category i of integer weights (not
// all zero): the binomials that draw a multinomial one category at a time.
std::vector<double> chainProbabilities(std::span<const long long> weights);

class Sampler {
public:
    explicit Sampler(std::uint64_t seed) : engine_(seed) {}

    // Uniform on [0, 1): the top 53 bits of one output.
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    // Binomial(n, p): inversion below a mean of 10, otherwise Hörmann's
    // transformed rejection with decomposition (BTRD).
    long long binomial(long long n, double p);

    // The counts of n independent draws over categories: counts[i] ~
    // multinomial(n, weights[i] / their sum), given the chain of
    // chainProbabilities(weights).
    void multinomial(long long n, std::span<const double> chain, std::span<long long> counts);

private:
    long long binomialInversion(long long n, double p);
    long long binomialRejection(long long n, double p);

    std::mt19937_64 engine_;
};

// How many main numbers of `draws` independent uniform five-number sets of
// 1..31 fall into each of consecutive blocks of numbers (the first block is
// 1..sizes[0], and so on; the sizes sum to 31).
class FiveSetBlocks {
public:
    explicit FiveSetBlocks(std::span<const int> sizes);
    void sample(Sampler& sampler, long long draws, std::span<long long> counts) const;

private:
    struct Split {
        int most = 0;                   // j runs from `most` down to 0
        std::array<double, 6> chain{};  // over j = most, most - 1, ..., 0
    };
    std::vector<std::array<Split, 6>> blocks_;  // by block (all but the last) and by k = 1..5
};

}  // namespace kazuban::analysis
