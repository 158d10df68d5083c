#pragma once
// C(n, k) for n 0..31 and k 0..5, worked out at compile time, for ranking
// main sets and counting the outcomes of the outcome model.
namespace kazuban::analysis {

struct Binomials {
    int c[32][6]{};
    constexpr Binomials() {
        for (int n = 0; n < 32; ++n) {
            c[n][0] = 1;
            for (int k = 1; k < 6; ++k) c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
inline constexpr Binomials kBinom;

}  // namespace kazuban::analysis
