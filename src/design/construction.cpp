#include "design/construction.h"

#include <set>

namespace kazuban::design {

namespace {

constexpr int kInfinity = 16;

// GF(16) as polynomials over GF(2) modulo x^4 + x + 1.
int mul(int a, int b) {
    int r = 0;
    for (; b != 0; b >>= 1) {
        if (b & 1) r ^= a;
        a <<= 1;
        if (a & 0x10) a ^= 0x13;
    }
    return r;
}
int inv(int a) {
    for (int b = 1; b < 16; ++b)
        if (mul(a, b) == 1) return b;
    return 0;  // 0 has none; callers never ask
}

// z -> (az + b) / (cz + d) on GF(16) and infinity.
int mobius(int a, int b, int c, int d, int z) {
    if (z == kInfinity) return c == 0 ? kInfinity : mul(a, inv(c));
    const int den = mul(c, z) ^ d;
    if (den == 0) return kInfinity;
    return mul(mul(a, z) ^ b, inv(den));
}

}  // namespace

std::vector<std::uint32_t> steinerBlocks17() {
    // GF(4) inside GF(16): 0, 1 and the cube roots of unity x^5 = 6, x^10 = 7.
    constexpr int kBase[5] = {0, 1, 6, 7, kInfinity};
    std::set<std::uint32_t> blocks;
    for (int a = 0; a < 16; ++a)
        for (int b = 0; b < 16; ++b)
            for (int c = 0; c < 16; ++c)
                for (int d = 0; d < 16; ++d) {
                    if ((mul(a, d) ^ mul(b, c)) == 0) continue;
                    std::uint32_t block = 0;
                    for (int z : kBase) block |= std::uint32_t{1} << mobius(a, b, c, d, z);
                    blocks.insert(block);
                }
    return {blocks.begin(), blocks.end()};
}

std::vector<std::uint32_t> tripleCover14() {
    // Found by this program's own search.
    return {0x007a, 0x01c9, 0x0255, 0x02b1, 0x031a, 0x041e, 0x042d, 0x05a2, 0x0643, 0x068c, 0x0760,
            0x081b, 0x0934, 0x0994, 0x0ac2, 0x0b05, 0x0c4c, 0x0d22, 0x1087, 0x1146, 0x1226, 0x1249,
            0x141a, 0x141c, 0x14d0, 0x1511, 0x1861, 0x18a8, 0x1928, 0x1e10, 0x209a, 0x20e4, 0x2123,
            0x2215, 0x250c, 0x2642, 0x2950, 0x2a28, 0x2c81, 0x3049, 0x3380, 0x3430, 0x3806};
}

}  // namespace kazuban::design
