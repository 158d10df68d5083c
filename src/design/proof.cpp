#include "design/proof.h"

#include <bit>

namespace kazuban::design {

namespace {

struct Counter {
    const std::vector<std::uint32_t>& tickets;
    int numbers[32] = {};
    int m = 0;
    std::int64_t covered = 0;

    // Chooses `left` more numbers from numbers[from..m-1] into `set`.
    void choose(int from, int left, std::uint32_t set) {
        if (left == 0) {
            for (std::uint32_t t : tickets)
                if (std::popcount(t & set) >= 3) {
                    ++covered;
                    break;
                }
            return;
        }
        for (int i = from; i <= m - left; ++i) choose(i + 1, left - 1, set | std::uint32_t{1} << numbers[i]);
    }
};

}  // namespace

std::int64_t countCovered(std::uint32_t ground, int p, const std::vector<std::uint32_t>& tickets) {
    Counter c{tickets};
    for (int v = 0; v < 32; ++v)
        if ((ground >> v) & 1) c.numbers[c.m++] = v;
    c.choose(0, p, 0);
    return c.covered;
}

}  // namespace kazuban::design
