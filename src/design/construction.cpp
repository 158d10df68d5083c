#include "design/construction.h"

#include <algorithm>
#include <array>
#include <bit>
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

// GF(27) as polynomials over GF(3) modulo x^3 - x - 1; element a0 + 3 a1 + 9 a2.
struct Gf27 {
    int mul[27][27]{}, inv[27]{};
    Gf27() {
        for (int u = 0; u < 27; ++u)
            for (int v = 0; v < 27; ++v) {
                int p[5] = {};
                for (int i = 0, a = u; i < 3; ++i, a /= 3)
                    for (int j = 0, b = v; j < 3; ++j, b /= 3) p[i + j] += (a % 3) * (b % 3);
                // x^3 = x + 1, x^4 = x^2 + x
                p[0] += p[3];
                p[1] += p[3] + p[4];
                p[2] += p[4];
                mul[u][v] = p[0] % 3 + 3 * (p[1] % 3) + 9 * (p[2] % 3);
            }
        for (int u = 1; u < 27; ++u)
            for (int v = 1; v < 27; ++v)
                if (mul[u][v] == 1) inv[u] = v;
    }
    static int add(int u, int v) {
        int r = 0;
        for (int scale = 1; scale < 27; scale *= 3, u /= 3, v /= 3) r += (u % 3 + v % 3) % 3 * scale;
        return r;
    }
};

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

std::vector<std::uint32_t> steinerBlocks26() {
    constexpr int kInf = 27;
    const Gf27 f;
    auto frobenius = [&](int z) { return z == kInf ? kInf : f.mul[f.mul[z][z]][z]; };
    auto mobius = [&](int a, int b, int c, int d, int z) {
        if (z == kInf) return c == 0 ? kInf : f.mul[a][f.inv[c]];
        const int den = Gf27::add(f.mul[c][z], d);
        if (den == 0) return kInf;
        return f.mul[Gf27::add(f.mul[a][z], b)][f.inv[den]];
    };
    // The orbit of {0, 1, 2, x, x + 1, x + 2, infinity} and that of
    // {0, 1, x, x^2 + x + 1, x^2 + 2x + 2, 2x^2 + 2x + 2, infinity} make S(5,7,28).
    constexpr std::array<std::array<int, 7>, 2> kBase{{{0, 1, 2, 3, 4, 5, kInf}, {0, 1, 3, 7, 14, 26, kInf}}};
    std::set<std::uint32_t> blocks;
    auto take = [&](int a, int b, int c, int d) {
        for (int s = 0; s < 3; ++s)
            for (const auto& base : kBase) {
                std::uint32_t block = 0;
                bool throughInfinity = false, throughZero = false;
                for (int z : base) {
                    int w = z;
                    for (int k = 0; k < s; ++k) w = frobenius(w);
                    const int image = mobius(a, b, c, d, w);
                    if (image == kInf) {
                        throughInfinity = true;
                    } else if (image == 0) {
                        throughZero = true;
                    } else {
                        block |= std::uint32_t{1} << (image - 1);
                    }
                }
                if (throughInfinity && throughZero) blocks.insert(block);
            }
    };
    // PGL(2,27), each map once: c = 0, d = 1, or c = 1.
    for (int a = 1; a < 27; ++a)
        for (int b = 0; b < 27; ++b) take(a, b, 0, 1);
    for (int a = 0; a < 27; ++a)
        for (int b = 0; b < 27; ++b)
            for (int d = 0; d < 27; ++d)
                if (f.mul[a][d] != b) take(a, b, 1, d);
    return {blocks.begin(), blocks.end()};
}

namespace {
// 59 sets of four of the points 0..25 holding every two of them, found by a
// search of our own: 59 is the Schönheim bound for pairs.
constexpr std::uint32_t kPairs[] = {0x0001046, 0x0001811, 0x0002604, 0x0002b00, 0x0008083, 0x000810c, 0x0010184,
                                    0x0010248, 0x0014021, 0x001a010, 0x0021120, 0x0024480, 0x0040098, 0x0040501,
                                    0x0040824, 0x004c040, 0x008002a, 0x0084140, 0x00a0014, 0x01008c0, 0x0108220,
                                    0x0110402, 0x0120009, 0x0143000, 0x0200c08, 0x0204012, 0x0205200, 0x0270000,
                                    0x0282001, 0x0400430, 0x0400841, 0x0406008, 0x0480280, 0x0489000, 0x0700004,
                                    0x0800211, 0x0801480, 0x0802102, 0x0828800, 0x09c0000, 0x0a00060, 0x0c30000,
                                    0x1000450, 0x10020a0, 0x1020202, 0x1090800, 0x1104800, 0x1208100, 0x1440100,
                                    0x1801008, 0x2011020, 0x2022040, 0x2040202, 0x2088400, 0x2100110, 0x2200088,
                                    0x2400802, 0x2804004, 0x3000005};
}  // namespace

std::vector<std::uint32_t> tripleCover27() {
    std::vector<std::uint32_t> blocks = steinerBlocks26();
    for (std::uint32_t q : kPairs) blocks.push_back(q | std::uint32_t{1} << 26);
    return blocks;
}

std::vector<std::uint32_t> tripleCover25() {
    constexpr std::uint32_t kLast = std::uint32_t{1} << 25;
    std::vector<std::uint32_t> blocks = steinerBlocks26();
    for (std::uint32_t& b : blocks)
        if (b & kLast) b = (b & ~kLast) | (~b & (b + 1));  // the lowest point it lacks
    std::sort(blocks.begin(), blocks.end());
    return blocks;
}

std::vector<std::uint32_t> tripleCover28() {
    constexpr std::uint32_t k26 = std::uint32_t{1} << 26, k27 = std::uint32_t{1} << 27;
    std::vector<std::uint32_t> blocks = tripleCover27();
    for (std::uint32_t q : kPairs) blocks.push_back(q | k27);
    for (int first = 0; first < 26; first += 3) {
        std::uint32_t q = k26 | k27;
        for (int i = 0; i < 3; ++i) q |= std::uint32_t{1} << ((first + i) % 26);
        blocks.push_back(q);
    }
    return blocks;
}

std::vector<std::uint32_t> tripleCover14() {
    // Found by this program's own search.
    return {0x007a, 0x01c9, 0x0255, 0x02b1, 0x031a, 0x041e, 0x042d, 0x05a2, 0x0643, 0x068c, 0x0760,
            0x081b, 0x0934, 0x0994, 0x0ac2, 0x0b05, 0x0c4c, 0x0d22, 0x1087, 0x1146, 0x1226, 0x1249,
            0x141a, 0x141c, 0x14d0, 0x1511, 0x1861, 0x18a8, 0x1928, 0x1e10, 0x209a, 0x20e4, 0x2123,
            0x2215, 0x250c, 0x2642, 0x2950, 0x2a28, 0x2c81, 0x3049, 0x3380, 0x3430, 0x3806};
}

}  // namespace kazuban::design
