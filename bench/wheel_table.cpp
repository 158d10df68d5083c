// Fills the stored table of wheels (src/design/wheels/) with P = 3 designs
// of this program's own search: block orbits under a shift of the first
// g = m - f numbers (f fixed) chosen by a tabu search until few sets of three
// are left open, then the design search completes and shrinks the union.
// The result is proved by the design's own recount, and written only when
// it is complete and smaller than the stored file.
//   kazuban_wheel_table M F K MOVES SEED EFFORT DIR
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "design/design.h"
#include "design/search.h"
#include "design/stored.h"

namespace {

using namespace kazuban::design;

struct Orbits {
    int m, g;
    std::vector<int> tripleSize;              // of each orbit of sets of three
    std::vector<Positions> blockRep;          // a block of each full orbit of sets of five
    std::vector<std::vector<int>> covers;     // the orbits of three each block orbit covers, ascending
    std::vector<std::vector<int>> coveredBy;  // the block orbits covering each orbit of three

    Positions shift(Positions s) const {
        Positions r = 0;
        for (; s != 0; s &= s - 1) {
            const int i = std::countr_zero(s);
            r |= Positions{1} << (i < g ? (i + 1) % g : i);
        }
        return r;
    }
    Positions canon(Positions s, int* size) const {
        Positions best = s, x = s;
        *size = 1;
        while ((x = shift(x)) != s) ++*size, best = std::min(best, x);
        return best;
    }

    Orbits(int m_, int f) : m(m_), g(m_ - f) {
        std::map<Positions, int> tripleId;
        auto idOf = [&](Positions t) {
            int size = 0;
            const Positions c = canon(t, &size);
            auto [it, fresh] = tripleId.emplace(c, static_cast<int>(tripleSize.size()));
            if (fresh) tripleSize.push_back(size);
            return it->second;
        };
        for (std::uint64_t s = 31; s < (std::uint64_t{1} << m);) {
            int size = 0;
            const auto b = static_cast<Positions>(s);
            if (canon(b, &size) == b && size == g) {
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
                covers.push_back(std::move(cv));
            }
            const std::uint64_t c = s & (~s + 1), r = s + c;
            s = (((r ^ s) >> 2) / c) | r;
        }
        // Orbits of three that no full block orbit meets stay open for the completion.
        coveredBy.resize(tripleSize.size());
        for (std::size_t j = 0; j < covers.size(); ++j)
            for (int t : covers[j]) coveredBy[static_cast<std::size_t>(t)].push_back(static_cast<int>(j));
    }
};

// k block orbits leaving as few sets of three open as the tabu search finds
// in `moves` moves: each move covers a random open orbit of three with one
// of its block orbits in place of the chosen orbit whose loss is least.
std::vector<int> tabuOrbits(const Orbits& o, std::size_t k, long moves, Random& rng) {
    const std::size_t nt = o.tripleSize.size(), nb = o.blockRep.size();
    std::vector<int> count(nt, 0), chosen;
    std::vector<char> in(nb, 0);
    std::vector<long> tabuUntil(nb, 0);
    auto open = [&] {
        long w = 0;
        for (std::size_t t = 0; t < nt; ++t) w += count[t] == 0 ? o.tripleSize[t] : 0;
        return w;
    };
    auto add = [&](int j) {
        in[static_cast<std::size_t>(j)] = 1;
        chosen.push_back(j);
        for (int t : o.covers[static_cast<std::size_t>(j)]) ++count[static_cast<std::size_t>(t)];
    };
    auto removeAt = [&](std::size_t i) {
        const int j = chosen[i];
        in[static_cast<std::size_t>(j)] = 0;
        chosen[i] = chosen.back();
        chosen.pop_back();
        for (int t : o.covers[static_cast<std::size_t>(j)]) --count[static_cast<std::size_t>(t)];
    };
    while (chosen.size() < k) {
        int best = -1, bestGain = -1;
        for (int s = 0; s < 200; ++s) {
            const int j = static_cast<int>(rng.below(nb));
            if (in[static_cast<std::size_t>(j)]) continue;
            int gain = 0;
            for (int t : o.covers[static_cast<std::size_t>(j)]) gain += count[static_cast<std::size_t>(t)] == 0;
            if (gain > bestGain) bestGain = gain, best = j;
        }
        if (best >= 0) add(best);
    }
    long bestOpen = open();
    std::vector<int> bestSet = chosen;
    std::vector<int> openList;
    for (long move = 0; move < moves && bestOpen > 0; ++move) {
        openList.clear();
        for (std::size_t t = 0; t < nt; ++t)
            if (count[t] == 0 && !o.coveredBy[t].empty()) openList.push_back(static_cast<int>(t));
        if (openList.empty()) break;
        const auto& cands = o.coveredBy[static_cast<std::size_t>(openList[rng.below(openList.size())])];
        long bestDelta = 1L << 40;
        int inBest = -1;
        std::size_t outBest = 0;
        for (int s = 0; s < 12; ++s) {
            const int j = cands[rng.below(cands.size())];
            if (in[static_cast<std::size_t>(j)]) continue;
            const bool tabuIn = tabuUntil[static_cast<std::size_t>(j)] > move;
            long gain = 0;
            for (int t : o.covers[static_cast<std::size_t>(j)])
                gain += count[static_cast<std::size_t>(t)] == 0 ? o.tripleSize[static_cast<std::size_t>(t)] : 0;
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                const auto c = static_cast<std::size_t>(chosen[i]);
                if (tabuIn && tabuUntil[c] > move) continue;
                long loss = 0;
                for (int t : o.covers[c])
                    if (count[static_cast<std::size_t>(t)] == 1 &&
                        !std::binary_search(o.covers[static_cast<std::size_t>(j)].begin(),
                                            o.covers[static_cast<std::size_t>(j)].end(), t))
                        loss += o.tripleSize[static_cast<std::size_t>(t)];
                if (loss - gain < bestDelta || (loss - gain == bestDelta && rng.below(2) == 0))
                    bestDelta = loss - gain, inBest = j, outBest = i;
            }
        }
        if (inBest < 0) continue;
        const int out = chosen[outBest];
        removeAt(outBest);
        add(inBest);
        tabuUntil[static_cast<std::size_t>(out)] = move + 5 + static_cast<long>(rng.below(10));
        tabuUntil[static_cast<std::size_t>(inBest)] = move + 2;
        const long now = open();
        if (now < bestOpen) bestOpen = now, bestSet = chosen;
    }
    return bestSet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: kazuban_wheel_table M F K MOVES SEED EFFORT DIR\n");
        return 2;
    }
    const int m = std::atoi(argv[1]), f = std::atoi(argv[2]), k = std::atoi(argv[3]);
    const long moves = std::atol(argv[4]);
    const auto seed = std::strtoull(argv[5], nullptr, 10);
    const int effort = std::atoi(argv[6]);
    const std::filesystem::path dir = argv[7];
    if (m < 6 || m > 31 || f < 0 || f > m - 5 || k < 1 || effort < 1) return 2;

    const Orbits o(m, f);
    Random rng(seed);
    Request r;
    r.mode = Mode::Wheel;
    r.numbers = static_cast<Ticket>(((std::uint64_t{1} << m) - 1) << 1);
    r.seed = seed;
    r.effort = effort;
    for (int j : tabuOrbits(o, static_cast<std::size_t>(k), moves, rng))
        for (Positions b = o.blockRep[static_cast<std::size_t>(j)], i = 0; i < static_cast<Positions>(o.g);
             ++i, b = o.shift(b))
            r.from.push_back(b << 1);
    const Result res = runDesign(r);
    std::printf("m=%d f=%d k=%d orbits=%zu tickets=%zu covered=%lld/%lld\n", m, f, k, r.from.size(), res.tickets.size(),
                static_cast<long long>(res.covered), static_cast<long long>(res.units));
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
