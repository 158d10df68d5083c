// Fills the stored table of wheels (src/design/wheels/) with P = 3 designs
// of this program's own search: block orbits of at most B tickets in all
// under a group (C cycles of N numbers shifted together and multiplied by
// the powers of A, the rest fixed), chosen by a tabu search until few sets
// of three are left open; then the design search completes and shrinks the
// union. A negative MOVES weighs the sets of three that stay open.
// The result is proved by the design's own recount, and written only when
// it is complete and smaller than the stored file.
//   kazuban_wheel_table M N C A B MOVES SEED EFFORT DIR
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "design/design.h"
#include "design/search.h"
#include "design/stored.h"

namespace {

using namespace kazuban::design;

// A group on the numbers 0..m-1: K cycles of n numbers each (cycle c holds
// c*n .. c*n + n - 1), shifted together, each also multiplied by the powers of
// A (mod n), and the other m - K*n numbers fixed.
struct Group {
    std::vector<std::array<int, 32>> maps;  // every element, as the image of each number

    Group(int m, int n, int k, int a) {
        std::vector<int> powers{1};
        for (int x = a % n; x != 1 && a > 1; x = x * a % n) powers.push_back(x);
        for (int mul : powers)
            for (int add = 0; add < n; ++add) {
                std::array<int, 32> g{};
                for (int i = 0; i < m; ++i)
                    g[static_cast<std::size_t>(i)] = i < k * n ? i / n * n + (i % n * mul + add) % n : i;
                maps.push_back(g);
            }
    }
    Positions apply(std::size_t e, Positions s) const {
        Positions r = 0;
        for (; s != 0; s &= s - 1) r |= Positions{1} << maps[e][static_cast<std::size_t>(std::countr_zero(s))];
        return r;
    }
    // The orbit of s, each set once.
    std::vector<Positions> orbit(Positions s) const {
        std::vector<Positions> images;
        for (std::size_t e = 0; e < maps.size(); ++e) images.push_back(apply(e, s));
        std::sort(images.begin(), images.end());
        images.erase(std::unique(images.begin(), images.end()), images.end());
        return images;
    }
    // The least set of the orbit of s, and the orbit's size.
    Positions canon(Positions s, int* size) const {
        const std::vector<Positions> images = orbit(s);
        *size = static_cast<int>(images.size());
        return images.front();
    }
};

struct Orbits {
    int m;
    const Group& group;
    std::vector<int> tripleSize;              // of each orbit of sets of three
    std::vector<Positions> blockRep;          // a block of each orbit of sets of five
    std::vector<int> blockSize;               // the tickets of each block orbit
    std::vector<std::vector<int>> covers;     // the orbits of three each block orbit covers, ascending
    std::vector<std::vector<int>> coveredBy;  // the block orbits covering each orbit of three

    Orbits(int m_, const Group& g) : m(m_), group(g) {
        std::map<Positions, int> tripleId;
        auto idOf = [&](Positions t) {
            int size = 0;
            const Positions c = group.canon(t, &size);
            auto [it, fresh] = tripleId.emplace(c, static_cast<int>(tripleSize.size()));
            if (fresh) tripleSize.push_back(size);
            return it->second;
        };
        for (std::uint64_t s = 31; s < (std::uint64_t{1} << m);) {
            int size = 0;
            const auto b = static_cast<Positions>(s);
            if (group.canon(b, &size) == b) {
                int p[5], n = 0;
                for (Positions x = b; x != 0; x &= x - 1) p[n++] = std::countr_zero(x);
                std::vector<int> cv;
                for (int i = 0; i < 5; ++i)
                    for (int j = i + 1; j < 5; ++j)
                        for (int k = j + 1; k < 5; ++k)
                            cv.push_back(idOf(Positions{1} << p[i] | Positions{1} << p[j] | Positions{1} << p[k]));
                std::sort(cv.begin(), cv.end());
                cv.erase(std::unique(cv.begin(), cv.end()), cv.end());
                blockRep.push_back(b);
                blockSize.push_back(size);
                covers.push_back(std::move(cv));
            }
            const std::uint64_t c = s & (~s + 1), r = s + c;
            s = (((r ^ s) >> 2) / c) | r;
        }
        coveredBy.resize(tripleSize.size());
        for (std::size_t j = 0; j < covers.size(); ++j)
            for (int t : covers[j]) coveredBy[static_cast<std::size_t>(t)].push_back(static_cast<int>(j));
    }
};

// Block orbits of at most `budget` tickets in all, leaving as few sets of
// three open as the tabu search finds in `moves` moves: each move covers a
// random open orbit of three with the block orbit, of all that cover it,
// that opens least when added (if it fits) or swapped for a chosen orbit;
// the orbit taken out may not come back for a while.
std::vector<int> tabuOrbits(const Orbits& o, int budget, long moves, bool weighted, Random& rng) {
    const std::size_t nt = o.tripleSize.size(), nb = o.blockRep.size();
    std::vector<int> count(nt, 0), chosen;
    std::vector<char> in(nb, 0);
    std::vector<long> tabuUntil(nb, 0);
    int used = 0;
    auto sizeOf = [&](int j) { return o.blockSize[static_cast<std::size_t>(j)]; };
    auto open = [&] {
        long w = 0;
        for (std::size_t t = 0; t < nt; ++t) w += count[t] == 0 ? o.tripleSize[t] : 0;
        return w;
    };
    auto add = [&](int j) {
        in[static_cast<std::size_t>(j)] = 1;
        chosen.push_back(j);
        used += sizeOf(j);
        for (int t : o.covers[static_cast<std::size_t>(j)]) ++count[static_cast<std::size_t>(t)];
    };
    auto removeAt = [&](std::size_t i) {
        const int j = chosen[i];
        in[static_cast<std::size_t>(j)] = 0;
        used -= sizeOf(j);
        chosen[i] = chosen.back();
        chosen.pop_back();
        for (int t : o.covers[static_cast<std::size_t>(j)]) --count[static_cast<std::size_t>(t)];
    };
    // Greedy start: the orbit covering most open tickets' worth per ticket, of 200 drawn.
    for (int misses = 0; misses < 50;) {
        int best = -1;
        double bestRate = 0;
        for (int s = 0; s < 200; ++s) {
            const int j = static_cast<int>(rng.below(nb));
            if (in[static_cast<std::size_t>(j)] || used + sizeOf(j) > budget) continue;
            long gain = 0;
            for (int t : o.covers[static_cast<std::size_t>(j)])
                gain += count[static_cast<std::size_t>(t)] == 0 ? o.tripleSize[static_cast<std::size_t>(t)] : 0;
            const double rate = static_cast<double>(gain) / sizeOf(j);
            if (rate > bestRate) bestRate = rate, best = j;
        }
        if (best < 0) {
            ++misses;
        } else {
            add(best);
        }
    }
    long now = open(), bestOpen = now;
    std::vector<int> bestSet = chosen;
    std::vector<int> openList;
    std::vector<long> loss;
    std::vector<int> mark(nt, -1);
    // Each orbit of three weighs more the longer it stays open, so the search
    // leaves plateaus where the same few stay open.
    std::vector<long> weight(o.tripleSize.begin(), o.tripleSize.end());
    for (long move = 0; move < moves && bestOpen > 0; ++move) {
        openList.clear();
        for (std::size_t t = 0; t < nt; ++t)
            if (count[t] == 0) openList.push_back(static_cast<int>(t));
        loss.assign(chosen.size(), 0);
        for (std::size_t i = 0; i < chosen.size(); ++i)
            for (int t : o.covers[static_cast<std::size_t>(chosen[i])])
                if (count[static_cast<std::size_t>(t)] == 1) loss[i] += weight[static_cast<std::size_t>(t)];
        const auto& cands = o.coveredBy[static_cast<std::size_t>(openList[rng.below(openList.size())])];
        long bestDelta = 1L << 40;
        int inBest = -1, ties = 0;
        std::size_t outBest = 0;  // chosen.size() for an orbit added without a swap
        auto consider = [&](long delta, int j, std::size_t i) {
            if (delta < bestDelta) {
                bestDelta = delta, inBest = j, outBest = i, ties = 1;
            } else if (delta == bestDelta && rng.below(static_cast<std::uint64_t>(++ties)) == 0) {
                inBest = j, outBest = i;
            }
        };
        for (int j : cands) {
            if (in[static_cast<std::size_t>(j)]) continue;
            long gain = 0;
            for (int t : o.covers[static_cast<std::size_t>(j)]) {
                gain += count[static_cast<std::size_t>(t)] == 0 ? weight[static_cast<std::size_t>(t)] : 0;
                mark[static_cast<std::size_t>(t)] = j;
            }
            const bool tabuIn = tabuUntil[static_cast<std::size_t>(j)] > move;
            if (used + sizeOf(j) <= budget) {
                if (!tabuIn) consider(-gain, j, chosen.size());
                continue;
            }
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                if (used - sizeOf(chosen[i]) + sizeOf(j) > budget) continue;
                long l = loss[i];
                for (int t : o.covers[static_cast<std::size_t>(chosen[i])])
                    if (count[static_cast<std::size_t>(t)] == 1 && mark[static_cast<std::size_t>(t)] == j)
                        l -= weight[static_cast<std::size_t>(t)];
                if (tabuIn) continue;
                consider(l - gain, j, i);
            }
        }
        if (inBest < 0) continue;
        if (outBest < chosen.size()) {
            const int out = chosen[outBest];
            removeAt(outBest);
            tabuUntil[static_cast<std::size_t>(out)] = move + 3 + static_cast<long>(rng.below(8));
        }
        add(inBest);
        now = open();
        if (now < bestOpen) bestOpen = now, bestSet = chosen;
        if (weighted)
            for (std::size_t t = 0; t < nt; ++t) weight[t] += count[t] == 0;
    }
    std::fprintf(stderr, "open after the orbit search: %ld\n", bestOpen);
    return bestSet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 10) {
        std::fprintf(stderr, "usage: kazuban_wheel_table M N C A B MOVES SEED EFFORT DIR\n");
        return 2;
    }
    const int m = std::atoi(argv[1]), n = std::atoi(argv[2]), cycles = std::atoi(argv[3]), mul = std::atoi(argv[4]);
    const int budget = std::atoi(argv[5]);
    const long moves = std::atol(argv[6]);
    const auto seed = std::strtoull(argv[7], nullptr, 10);
    const int effort = std::atoi(argv[8]);
    const std::filesystem::path dir = argv[9];
    if (m < 6 || m > 31 || n < 1 || cycles < 1 || n * cycles > m || mul < 1 || std::gcd(mul, n) != 1 || budget < 1 ||
        effort < 1)
        return 2;

    const Group group(m, n, cycles, mul);
    const Orbits o(m, group);
    Random rng(seed);
    Request r;
    r.mode = Mode::Wheel;
    r.numbers = static_cast<Ticket>(((std::uint64_t{1} << m) - 1) << 1);
    r.seed = seed;
    r.effort = effort;
    for (int j : tabuOrbits(o, budget, std::labs(moves), moves < 0, rng))
        for (Positions b : group.orbit(o.blockRep[static_cast<std::size_t>(j)])) r.from.push_back(b << 1);
    const Result res = runDesign(r);
    std::printf("m=%d n=%d c=%d a=%d b=%d orbits=%zu tickets=%zu covered=%lld/%lld\n", m, n, cycles, mul, budget,
                r.from.size(), res.tickets.size(), static_cast<long long>(res.covered),
                static_cast<long long>(res.units));
    if (res.covered != res.units) return 1;
    char name[32];
    std::snprintf(name, sizeof name, "wheel-p3-m%02d.txt", m);
    const auto stored = storedWheel(m, 3);
    std::ifstream old(dir / name);
    std::size_t oldSize = 0;
    for (std::string line; std::getline(old, line);) oldSize += !line.empty();
    if ((oldSize != 0 && oldSize <= res.tickets.size()) || (stored && stored->size() <= res.tickets.size())) return 0;
    std::ofstream out(dir / name, std::ios::binary);
    for (Ticket t : res.tickets) out << ticketText(t) << '\n';
    std::printf("wrote %s\n", (dir / name).string().c_str());
    return 0;
}
