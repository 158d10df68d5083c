#include "design/search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

namespace kazuban::design {

namespace {

// C(n, k) for n 0..31, k 0..5.
struct Binomials {
    std::int64_t c[32][6]{};
    constexpr Binomials() {
        for (int n = 0; n < 32; ++n) {
            c[n][0] = 1;
            for (int k = 1; k < 6; ++k) c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
constexpr Binomials kBinom;
constexpr std::int64_t C(int n, int k) { return k < 0 || k > n ? 0 : kBinom.c[n][k]; }

// Colex rank of the positions of s counted from `first`, the lowest being the
// (before + 1)-th of the whole set.
std::uint32_t partialRank(Positions s, int first, int before) {
    std::uint32_t r = 0;
    int i = before;
    for (; s != 0; s &= s - 1) {
        const int pos = first + std::countr_zero(s);
        if (i < 5) r += static_cast<std::uint32_t>(C(pos, i + 1));
        ++i;
    }
    return r;
}

// Calls f(subset) for each k-subset of m.
template <class F>
void forEachSubset(Positions m, int k, Positions acc, F& f) {
    if (k == 0) {
        f(acc);
        return;
    }
    while (std::popcount(m) >= k) {
        const Positions low = m & (~m + 1);
        m ^= low;
        forEachSubset(m, k - 1, acc | low, f);
    }
}

// The k-subsets of positions 0..d-1 in increasing order of their masks, which
// is colex order.
template <class F>
void forEachSet(int d, int k, F f) {
    if (k > d) return;
    std::uint64_t x = (std::uint64_t{1} << k) - 1;
    const std::uint64_t end = std::uint64_t{1} << d;
    while (x < end) {
        f(static_cast<Positions>(x));
        const std::uint64_t c = x & (~x + 1);
        const std::uint64_t r = x + c;
        x = (((r ^ x) >> 2) / c) | r;
    }
}

Positions randomBit(Positions m, Random& rng) {
    for (auto skip = rng.below(static_cast<std::uint64_t>(std::popcount(m))); skip > 0; --skip) m &= m - 1;
    return m & (~m + 1);
}

// |a & b| == 2, without a popcount instruction.
bool sharesTwo(Positions a, Positions b) {
    const Positions x = a & b;
    const Positions y = x & (x - 1);
    return y != 0 && (y & (y - 1)) == 0;
}
bool sharesThree(Positions a, Positions b) { return std::popcount(a & b) >= 3; }

// A set of tickets with, for every unit, how many of them cover it, and the
// list of the coverable units none covers.
class CoverState {
public:
    CoverState(const CoverSpace& s, const std::vector<Positions>& tickets)
        : s_(&s),
          full_(static_cast<Positions>((std::uint64_t{1} << s.d()) - 1)),
          count_(static_cast<std::size_t>(s.units()), 0),
          where_(static_cast<std::size_t>(s.units()), -1),
          used_(static_cast<std::size_t>(C(s.d(), 5)), 0) {
        for (std::size_t r = 0; r < s.unitSets().size(); ++r)
            if (s.coverable(static_cast<std::uint32_t>(r))) push(static_cast<std::uint32_t>(r));
        for (Positions t : tickets) add(t);
    }

    const std::vector<Positions>& tickets() const { return tickets_; }
    std::size_t open() const { return open_.size(); }
    Positions openUnit(std::size_t i) const { return open_[i]; }
    bool inUse(Positions t) const { return used_[s_->rank(t)] != 0; }

    void add(Positions t) {
        tickets_.push_back(t);
        used_[s_->rank(t)] = 1;
        forEachCovered(t, [&](Positions u) { cover(s_->rank(u)); });
    }
    void removeAt(std::size_t i) {
        const Positions t = tickets_[i];
        tickets_.erase(tickets_.begin() + static_cast<std::ptrdiff_t>(i));
        used_[s_->rank(t)] = 0;
        forEachCovered(t, [&](Positions u) { uncover(s_->rank(u)); });
    }
    // Open units that t would cover.
    int gain(Positions t) const {
        int g = 0;
        forEachCovered(t, [&](Positions u) { g += count_[s_->rank(u)] == 0; });
        return g;
    }
    // Units that ticket i alone covers.
    int loss(std::size_t i) const {
        int l = 0;
        forEachCovered(tickets_[i], [&](Positions u) { l += count_[s_->rank(u)] == 1; });
        return l;
    }

    // The change of the open units when ticket i gives up position `out` for
    // `in`. Only units holding `out` and two more of the ticket's positions
    // are lost, only their images with `in` are won.
    int swapDelta(std::size_t i, Positions out, Positions in) const {
        int delta = 0;
        forSwap(tickets_[i], out, in,
                [&](std::uint32_t lost, std::uint32_t won) { delta += (count_[lost] == 1) - (count_[won] == 0); });
        return delta;
    }
    void swap(std::size_t i, Positions out, Positions in) {
        const Positions t = tickets_[i];
        forSwap(t, out, in, [&](std::uint32_t lost, std::uint32_t won) {
            uncover(lost);
            cover(won);
        });
        used_[s_->rank(t)] = 0;
        tickets_[i] = (t & ~out) | in;
        used_[s_->rank(tickets_[i])] = 1;
    }

private:
    template <class F>
    void forEachCovered(Positions t, F f) const {
        const Positions outside = full_ & ~t;
        for (int j = 3; j <= std::min(5, s_->p()); ++j) {
            auto withInside = [&](Positions inside) {
                auto unit = [&](Positions rest) { f(inside | rest); };
                forEachSubset(outside, s_->p() - j, 0, unit);
            };
            forEachSubset(t, j, 0, withInside);
        }
    }

    template <class F>
    void forSwap(Positions t, Positions out, Positions in, F f) const {
        // The p - 3 positions outside both tickets that complete a unit.
        std::array<Positions, 300> rest;
        std::size_t nRest = 0;
        auto keep = [&](Positions r) { rest[nRest++] = r; };
        forEachSubset(full_ & ~t & ~in, s_->p() - 3, 0, keep);
        std::array<Positions, 4> kept;
        int k = 0;
        for (Positions m = t & ~out; m != 0; m &= m - 1) kept[static_cast<std::size_t>(k++)] = m & (~m + 1);
        for (std::size_t x = 0; x < 4; ++x)
            for (std::size_t y = x + 1; y < 4; ++y) {
                const Positions pair = kept[x] | kept[y];
                const Positions lost = pair | out, won = pair | in;
                for (std::size_t r = 0; r < nRest; ++r) f(s_->rank(lost | rest[r]), s_->rank(won | rest[r]));
            }
    }

    void cover(std::uint32_t r) {
        if (count_[r]++ == 0) pull(r);
    }
    void uncover(std::uint32_t r) {
        if (--count_[r] == 0) push(r);
    }
    void push(std::uint32_t r) {
        where_[r] = static_cast<std::int32_t>(open_.size());
        open_.push_back(s_->unitSets()[r]);
    }
    void pull(std::uint32_t r) {
        const std::int32_t at = where_[r];
        if (at < 0) return;  // not coverable, so never open
        const Positions last = open_.back();
        open_[static_cast<std::size_t>(at)] = last;
        where_[s_->rank(last)] = at;
        open_.pop_back();
        where_[r] = -1;
    }

    const CoverSpace* s_;
    Positions full_;
    std::vector<Positions> tickets_;
    std::vector<std::uint16_t> count_;
    std::vector<std::int32_t> where_;
    std::vector<Positions> open_;
    std::vector<std::uint8_t> used_;
};

}  // namespace

// ---- the space ---------------------------------------------------------------

CoverSpace::CoverSpace(int d, int p, const std::function<bool(Positions)>& allowed)
    : d_(d), p_(p), low_(2048), mid_(6, std::vector<std::uint32_t>(1024)), high_(6, std::vector<std::uint32_t>(1024)) {
    for (Positions s = 0; s < 2048; ++s)
        low_[s] = partialRank(s, 0, 0) | static_cast<std::uint32_t>(std::min(std::popcount(s), 5)) << 24;
    for (int before = 0; before < 6; ++before)
        for (Positions s = 0; s < 1024; ++s) {
            const auto n = static_cast<std::uint32_t>(std::min(std::popcount(s), 5 - before));
            mid_[static_cast<std::size_t>(before)][s] = partialRank(s, 11, before) | n << 24;
            high_[static_cast<std::size_t>(before)][s] = partialRank(s, 21, before);
        }
    units_ = C(d, p);

    allowed_.assign(static_cast<std::size_t>(C(d, 5)), 0);
    std::vector<std::uint8_t> tripleHeld(static_cast<std::size_t>(C(d, 3)), 0);
    forEachSet(d, 5, [&](Positions t) {
        if (!allowed(t)) return;
        allowed_[rank(t)] = 1;
        allowedList_.push_back(t);
        auto hold = [&](Positions triple) { tripleHeld[rank(triple)] = 1; };
        forEachSubset(t, 3, 0, hold);
    });
    // A unit is coverable when one of its triples lies in an allowed ticket.
    unitSets_.reserve(static_cast<std::size_t>(units_));
    forEachSet(d, p, [&](Positions u) {
        bool held = false;
        auto check = [&](Positions triple) { held = held || tripleHeld[rank(triple)] != 0; };
        forEachSubset(u, 3, 0, check);
        unitSets_.push_back(u);
        coverableFlag_.push_back(held ? 1 : 0);
        coverable_ += held;
    });
}

// ---- randomness ----------------------------------------------------------------

std::uint64_t Random::below(std::uint64_t n) {
    // Rejecting the short top slice keeps every value equally likely.
    const std::uint64_t limit = (~std::uint64_t{0} / n) * n;
    std::uint64_t x = engine_();
    while (x >= limit) x = engine_();
    return x % n;
}

bool Random::chance(double x) {
    constexpr double kTwo53 = 9007199254740992.0;
    return static_cast<double>(engine_() >> 11) < expNeg(x) * kTwo53;
}

double expNeg(double x) {
    if (!(x < 64)) return 0;
    int halvings = 0;
    while (x > 1.0 / 32) {
        x *= 0.5;
        ++halvings;
    }
    double y = 1 - x * (1 - x / 2 * (1 - x / 3 * (1 - x / 4 * (1 - x / 5 * (1 - x / 6)))));
    for (; halvings > 0; --halvings) y *= y;
    return y;
}

// ---- the searches -------------------------------------------------------------

namespace {

// How many greedy candidates are weighed for one open unit.
constexpr std::size_t kGreedyCandidates = 24;

// Adds tickets until there are n or nothing is open: each time, of some
// unused allowed tickets that cover a random open unit, the one covering
// most open units.
void greedyFill(const CoverSpace& s, CoverState& st, std::size_t n, Random& rng) {
    std::vector<Positions> cands;
    while (st.tickets().size() < n && st.open() > 0) {
        const Positions u = st.openUnit(rng.below(st.open()));
        cands.clear();
        for (Positions t : s.allowedTickets())
            if (sharesThree(t, u) && !st.inUse(t)) cands.push_back(t);
        if (cands.empty()) break;  // only when u is not coverable, which the open list excludes
        Positions best = 0;
        int bestGain = -1;
        for (std::size_t k = 0; k < std::min(kGreedyCandidates, cands.size()); ++k) {
            const Positions t = cands.size() <= kGreedyCandidates ? cands[k] : cands[rng.below(cands.size())];
            const int g = st.gain(t);
            if (g > bestGain) bestGain = g, best = t;
        }
        st.add(best);
    }
}

// Adds random unused allowed tickets until there are n (at most as many as
// are allowed).
void fillUp(const CoverSpace& s, CoverState& st, std::size_t n, Random& rng) {
    const auto& all = s.allowedTickets();
    for (std::size_t tries = 0; st.tickets().size() < n && tries < 64 * n; ++tries) {
        const Positions t = all[rng.below(all.size())];
        if (!st.inUse(t)) st.add(t);
    }
    for (Positions t : all)  // nearly every allowed ticket is wanted
        if (st.tickets().size() < n && !st.inUse(t)) st.add(t);
}

// One proposed move: ticket i swaps position out for in.
struct Move {
    std::size_t i;
    Positions out, in;
};

// A random open unit u and a ticket that swaps one position towards it, so
// that the ticket covers u afterwards when it shared two (Nurmela and
// Östergård's neighbourhood). False when the new ticket is not allowed or
// already chosen.
bool propose(const CoverSpace& s, const CoverState& st, Random& rng, std::vector<std::size_t>& near, Move* m) {
    const Positions u = st.openUnit(rng.below(st.open()));
    const auto& t = st.tickets();
    near.clear();
    for (std::size_t i = 0; i < t.size(); ++i)
        if (sharesTwo(t[i], u)) near.push_back(i);
    m->i = near.empty() ? rng.below(t.size()) : near[rng.below(near.size())];
    const Positions ticket = t[m->i];
    m->out = randomBit(ticket & ~u, rng);
    m->in = randomBit(u & ~ticket, rng);
    const Positions next = (ticket & ~m->out) | m->in;
    return s.allowed(next) && !st.inUse(next);
}

// The mean rise of the open units over uphill proposals from st: the scale
// the temperatures are measured in (a rise of 1 in a 17-number wheel is
// much, in the draws of 31 numbers little).
double uphillScale(const CoverSpace& s, const CoverState& st, Random& rng) {
    std::vector<std::size_t> near;
    std::int64_t sum = 0, n = 0;
    for (int k = 0; k < 256 && st.open() > 0; ++k) {
        Move m{};
        if (!propose(s, st, rng, near, &m)) continue;
        const int delta = st.swapDelta(m.i, m.out, m.in);
        if (delta > 0) sum += delta, ++n;
    }
    return n == 0 ? 1.0 : static_cast<double>(sum) / static_cast<double>(n);
}

// Annealing of a fixed number of tickets over `moves` moves in 64 stages,
// the temperature falling geometrically from tStart to tEnd. Keeps the best
// tickets seen in *best (with their open count); stops early when nothing is
// open or the caller cancels. Returns the moves made.
struct Anneal {
    const CoverSpace& s;
    const SearchHooks& hooks;
    Random& rng;
    std::function<void(std::int64_t done)> tick;  // now and then, for the progress

    std::size_t stopAt = 0;  // open units that cannot be bettered

    std::int64_t run(CoverState& st, std::int64_t moves, double tStart, double tEnd, std::vector<Positions>* best,
                     std::size_t* bestOpen) {
        std::vector<std::size_t> near;
        near.reserve(st.tickets().size());
        constexpr int kStages = 64;
        double factor = tEnd / tStart;  // its 64th root; sqrt rounds alike everywhere
        for (int k = 0; k < 6; ++k) factor = std::sqrt(factor);
        double temperature = tStart;
        std::int64_t done = 0;
        for (int stage = 0; stage < kStages; ++stage, temperature *= factor) {
            const std::int64_t stageEnd = moves * (stage + 1) / kStages;
            for (; done < stageEnd; ++done) {
                if (st.open() <= stopAt) return done;
                if ((done & 1023) == 0) {
                    if (hooks.cancelled()) return done;
                    if (tick && (done & 65535) == 0) tick(done);
                }
                Move m{};
                if (!propose(s, st, rng, near, &m)) continue;
                const int delta = st.swapDelta(m.i, m.out, m.in);
                if (delta > 0 && !rng.chance(delta / temperature)) continue;
                const auto scored = static_cast<std::int64_t>(st.open()) + delta;
                st.swap(m.i, m.out, m.in);
                if (hooks.onMove) hooks.onMove(st.tickets(), scored);
                if (st.open() < *bestOpen) {
                    *bestOpen = st.open();
                    *best = st.tickets();
                }
            }
        }
        return done;
    }
};

// Tabu search of a fixed number of tickets, as Fadlaoui and Galinier search
// covering designs: each move takes a random open unit and, of the swaps
// that make a ticket sharing two with it cover it, the one that leaves
// fewest units open, scored incrementally; a ticket may not take back a
// position it gave up for a few moves unless that reaches a new best. Stops
// at a cover, on cancel, or after `moves` moves; keeps the best tickets seen
// in *best. Returns the moves made.
struct Tabu {
    const CoverSpace& s;
    const SearchHooks& hooks;
    Random& rng;

    std::int64_t run(CoverState& st, std::int64_t moves, std::vector<Positions>* best, std::size_t* bestOpen) {
        const std::size_t n = st.tickets().size();
        std::vector<std::int64_t> tabuUntil(n * 32, 0);  // ticket i may take position b from tabuUntil[32 i + b]
        std::vector<Move> cands;
        std::int64_t done = 0;
        for (; done < moves && st.open() > 0; ++done) {
            if ((done & 255) == 0 && hooks.cancelled()) break;
            const Positions u = st.openUnit(rng.below(st.open()));
            const auto& t = st.tickets();
            int bestDelta = 0;
            cands.clear();
            for (std::size_t i = 0; i < n; ++i) {
                if (!sharesTwo(t[i], u)) continue;
                for (Positions outs = t[i] & ~u; outs != 0; outs &= outs - 1)
                    for (Positions ins = u & ~t[i]; ins != 0; ins &= ins - 1) {
                        const Move m{i, outs & (~outs + 1), ins & (~ins + 1)};
                        const Positions next = (t[i] & ~m.out) | m.in;
                        if (!s.allowed(next) || st.inUse(next)) continue;
                        const int delta = st.swapDelta(i, m.out, m.in);
                        const bool aspired = static_cast<std::int64_t>(st.open()) + delta <
                                             static_cast<std::int64_t>(*bestOpen);
                        if (!aspired && tabuUntil[32 * i + static_cast<std::size_t>(std::countr_zero(m.in))] > done)
                            continue;
                        if (cands.empty() || delta < bestDelta) {
                            cands.assign(1, m);
                            bestDelta = delta;
                        } else if (delta == bestDelta) {
                            cands.push_back(m);
                        }
                    }
            }
            if (cands.empty()) continue;
            const Move m = cands[rng.below(cands.size())];
            const auto scored = static_cast<std::int64_t>(st.open()) + bestDelta;
            st.swap(m.i, m.out, m.in);
            tabuUntil[32 * m.i + static_cast<std::size_t>(std::countr_zero(m.out))] =
                done + 4 + static_cast<std::int64_t>(rng.below(8));
            if (hooks.onMove) hooks.onMove(st.tickets(), scored);
            if (st.open() < *bestOpen) {
                *bestOpen = st.open();
                *best = st.tickets();
            }
        }
        return done;
    }
};

// Moves for one annealing run at effort 1.
// A tabu move weighs every swap towards its unit (more of them, and each
// dearer, the larger p): it gets this share of the annealing's moves,
// divided by C(d - 6, p - 3).
constexpr std::int64_t kTabuShare = 16;
constexpr std::int64_t kBestMoves = 100'000;
// The temperatures the best-N search falls between, in units of the mean
// uphill step. It stays warm, where the tickets still move freely: cooled
// down to 1/64 of a start at 0.075, 50 tickets froze at 131,401 draws after
// 6.4 million moves; between these they cover 131,675 after 2 million, and
// a further cooling of the best from 0.02 to 0.002 found nothing more.
constexpr double kBestHot = 0.15, kBestCool = 0.02;
// A cover of more units needs more moves to be repaired, up to a cap; a
// move costs about 12 C(d - 6, p - 3) counter reads and a pass over the tickets.
std::int64_t repairMoves(const CoverSpace& s, std::size_t tickets) {
    const std::int64_t reads = std::min<std::int64_t>(3'400'000 * s.units(), s.p() < 5 ? 2'000'000'000 : 1'000'000'000);
    const std::int64_t perMove = 12 * C(s.d() - 6, s.p() - 3) + static_cast<std::int64_t>(tickets) + 16;
    return reads / perMove;
}

}  // namespace

Found searchTabu(const CoverSpace& space, const std::vector<Positions>& tickets, std::int64_t moves,
                 const SearchHooks& hooks) {
    Random rng(hooks.seed);
    CoverState st(space, tickets);
    std::vector<Positions> best = st.tickets();
    std::size_t bestOpen = st.open();
    Tabu{space, hooks, rng}.run(st, moves, &best, &bestOpen);
    return {best, static_cast<std::int64_t>(bestOpen)};
}

Found searchBest(const CoverSpace& space, int n, const SearchHooks& hooks) {
    Random rng(hooks.seed);
    CoverState st(space, {});
    greedyFill(space, st, static_cast<std::size_t>(n), rng);
    fillUp(space, st, static_cast<std::size_t>(n), rng);
    std::vector<Positions> best = st.tickets();
    std::size_t bestOpen = st.open();
    const std::int64_t planned = kBestMoves * hooks.effort;
    auto report = [&](std::int64_t done) {
        if (hooks.progress)
            hooks.progress(static_cast<int>(best.size()), static_cast<std::int64_t>(bestOpen), done, planned);
    };
    Anneal a{space, hooks, rng, report};
    // Tickets that overlap in no covered unit cannot be bettered.
    const std::int64_t perTicket = C(5, 3) * C(space.d() - 5, space.p() - 3) +
                                   C(5, 4) * C(space.d() - 5, space.p() - 4) +
                                   C(5, 5) * C(space.d() - 5, space.p() - 5);
    a.stopAt = static_cast<std::size_t>(space.coverableUnits() - std::min(space.coverableUnits(), perTicket * n));
    const double scale = uphillScale(space, st, rng);
    report(a.run(st, planned, kBestHot * scale, kBestCool * scale, &best, &bestOpen));
    return {best, static_cast<std::int64_t>(bestOpen)};
}

namespace {

// Shrinks the cover `st` one ticket at a time: the ticket that alone covers
// fewest units goes, and annealing brings the rest back to a cover; stops at
// the first size the budget does not reach. A cover no smaller than the
// smallest known drops below it at once: a fresh try at the size where an
// earlier one stopped.
struct Shrink {
    const CoverSpace& s;
    const SearchHooks& hooks;
    Random& rng;
    std::int64_t done = 0;
    std::size_t floor = 0;  // no cover is smaller
    std::size_t limit = 0;  // the size of the smallest cover known, 0 for none
    double scale = 0;       // of the first annealing, kept for all
    double heat = 0.12;     // the temperature in units of `scale`
    // Each repair runs from heat × hot down to heat × cool. A wheel that
    // pays out on all five of its numbers drawn shrinks further when it
    // cools (24 → 23 tickets on 18 numbers); the others do best held warm.
    double hot = 1, cool = 1;
    // The tabu repairs draw from a stream of their own: until one of them
    // reaches a cover the annealing makes the same moves as without them.
    Random tabuRng{hooks.seed ^ 0x7AB0'5EA5'C0DEull};

    // The smallest cover found below `limit`; nothing when none is.
    std::vector<Positions> run(CoverState& st) {
        std::vector<Positions> cover;
        std::int64_t levelStart = done;
        auto report = [&](std::int64_t moves) {
            if (hooks.progress && limit > 0) hooks.progress(static_cast<int>(limit), 0, levelStart + moves, 0);
        };
        auto record = [&] {
            if (limit != 0 && st.tickets().size() >= limit) return;
            cover = st.tickets();
            limit = cover.size();
            report(0);
        };
        record();
        Anneal a{s, hooks, rng, report};
        while (st.tickets().size() > std::max<std::size_t>(floor, 1) && !hooks.cancelled()) {
            do removeWeakest(st);
            while (st.tickets().size() >= limit);
            std::vector<Positions> best = st.tickets();
            std::size_t bestOpen = st.open();
            if (scale == 0 && st.open() > 0) scale = uphillScale(s, st, rng);
            levelStart = done;
            done += a.run(st, repairMoves(s, st.tickets().size()) * hooks.effort, heat * hot * scale,
                          heat * cool * scale, &best, &bestOpen);
            if (bestOpen != 0 && !hooks.cancelled()) {
                // The few units the annealing left open: the tabu search from its best.
                st = CoverState(s, best);
                Tabu tabu{s, hooks, tabuRng};
                done +=
                    tabu.run(st,
                             repairMoves(s, st.tickets().size()) * hooks.effort / kTabuShare / C(s.d() - 6, s.p() - 3),
                             &best, &bestOpen);
            }
            if (bestOpen != 0) break;  // otherwise a cover was reached: st is best
            record();
        }
        return cover;
    }

    static void removeWeakest(CoverState& st) {
        std::size_t weakest = 0;
        int weakestLoss = -1;
        for (std::size_t i = 0; i < st.tickets().size(); ++i) {
            const int l = st.loss(i);
            if (weakestLoss < 0 || l < weakestLoss) weakestLoss = l, weakest = i;
        }
        st.removeAt(weakest);
    }
};

}  // namespace

Found searchCover(const CoverSpace& space, const std::vector<std::vector<Positions>>& starts, std::size_t floor,
                  const SearchHooks& hooks) {
    Random rng(hooks.seed);
    Shrink shrink{space, hooks, rng};
    shrink.floor = floor;
    std::vector<Positions> best;
    // No one temperature suits every size: the starts take turns.
    constexpr double kHeats[] = {0.12, 0.15, 0.18};
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (!best.empty() && (best.size() <= floor || hooks.cancelled())) break;
        shrink.heat = kHeats[i % 3];
        if (space.p() == 5) shrink.hot = 2, shrink.cool = 0.1;
        CoverState st(space, starts[i]);
        greedyFill(space, st, space.allowedTickets().size(), rng);
        std::vector<Positions> c = shrink.run(st);
        if (!c.empty()) best = std::move(c);
    }
    return {best, 0};
}

}  // namespace kazuban::design
