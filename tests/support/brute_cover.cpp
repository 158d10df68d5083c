#include "support/brute_cover.h"

#include <bit>

namespace kazuban::testing {

std::int64_t bruteCoveredDraws(const std::vector<std::uint32_t>& tickets) {
    std::int64_t covered = 0;
    for (int a = 1; a <= 27; ++a)
        for (int b = a + 1; b <= 28; ++b)
            for (int c = b + 1; c <= 29; ++c)
                for (int d = c + 1; d <= 30; ++d)
                    for (int e = d + 1; e <= 31; ++e) {
                        const std::uint32_t draw = 1u << a | 1u << b | 1u << c | 1u << d | 1u << e;
                        for (std::uint32_t t : tickets)
                            if (std::popcount(t & draw) >= 3) {
                                ++covered;
                                break;
                            }
                    }
    return covered;
}

}  // namespace kazuban::testing
