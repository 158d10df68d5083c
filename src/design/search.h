#pragma once
// The covering search behind ticket design. Positions 0..d-1 (d <= 31) stand
// for the numbers in play; a unit is a set of p positions (p = 3..5) and a
// ticket, a set of five positions, covers a unit when the two share at least
// three. The cost of a set of tickets is the number of coverable units that
// none of them covers. Every run is fixed by its seed and effort alone: the
// same tickets on every system.
#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace kazuban::design {

using Positions = std::uint32_t;  // bit i for position i

// The units, the tickets the search may choose and the tables both share.
class CoverSpace {
public:
    // allowed(t) says whether the search may choose ticket t.
    CoverSpace(int d, int p, const std::function<bool(Positions)>& allowed);

    int d() const { return d_; }
    int p() const { return p_; }
    std::int64_t units() const { return units_; }
    // Units that some allowed ticket covers.
    std::int64_t coverableUnits() const { return coverable_; }
    const std::vector<Positions>& allowedTickets() const { return allowedList_; }
    bool allowed(Positions t) const { return allowed_[rank(t)] != 0; }

    // Colex rank of a set of at most five positions among the sets of its size.
    std::uint32_t rank(Positions s) const {
        const std::uint32_t e0 = low_[s & 0x7FF];
        const std::uint32_t e1 = mid_[e0 >> 24][(s >> 11) & 0x3FF];
        const std::uint32_t e2 = high_[(e0 >> 24) + (e1 >> 24)][s >> 21];
        return (e0 + e1 + e2) & 0xFFFFFF;
    }
    // The units in rank order, and whether some allowed ticket covers each.
    const std::vector<Positions>& unitSets() const { return unitSets_; }
    bool coverable(std::uint32_t unitRank) const { return coverableFlag_[unitRank] != 0; }

private:
    int d_, p_;
    std::int64_t units_ = 0, coverable_ = 0;
    // Partial colex ranks of positions 0-10, 11-20 and 21-30; bits 24 and up
    // hold how many positions the part has, which selects the next table's row.
    std::vector<std::uint32_t> low_;
    std::vector<std::vector<std::uint32_t>> mid_, high_;
    std::vector<std::uint8_t> allowed_;
    std::vector<Positions> allowedList_;
    std::vector<Positions> unitSets_;
    std::vector<std::uint8_t> coverableFlag_;
};

// What a long search tells its caller, and how the caller stops it.
struct SearchHooks {
    std::uint64_t seed = 1;
    int effort = 1;
    // When it turns true the search stops soon and returns the best it has.
    const std::atomic<bool>* cancel = nullptr;
    // The best so far: its tickets and the coverable units they leave open,
    // with the moves made and planned (planned 0 when the end is not known).
    std::function<void(int tickets, std::int64_t open, std::int64_t done, std::int64_t planned)> progress;
    // After every move of a covering search: the tickets, and the units
    // open before it plus the move's incremental score, for the tests that
    // count them afresh.
    std::function<void(const std::vector<Positions>& tickets, std::int64_t open)> onMove;

    bool cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
};

// What a search found: its tickets and the coverable units they leave open.
struct Found {
    std::vector<Positions> tickets;
    std::int64_t open = 0;
};

// n distinct allowed tickets (n <= allowedTickets().size()) leaving as few
// coverable units open as the search finds.
Found searchBest(const CoverSpace& space, int n, const SearchHooks& hooks);

// Allowed tickets covering every coverable unit, as few as the search finds
// (never fewer than `floor`, a known lower bound). Each start (allowed
// tickets; empty for none) is completed greedily and shrunk, in turn; a
// later one is shrunk straight to below the smallest cover found so far.
// `starts` must not be empty.
Found searchCover(const CoverSpace& space, const std::vector<std::vector<Positions>>& starts, std::size_t floor,
                  const SearchHooks& hooks);

// The tabu search the covering search repairs with, alone: from `tickets`
// (distinct allowed ones) for at most `moves` moves or until nothing is
// open; the best tickets it saw.
Found searchTabu(const CoverSpace& space, const std::vector<Positions>& tickets, std::int64_t moves,
                 const SearchHooks& hooks);

// Draws made the same way on every system: std::mt19937_64 is fixed to the
// bit, the standard distributions are not, so the reductions are our own.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t next() { return engine_(); }
    // Uniform in 0..n-1, n >= 1.
    std::uint64_t below(std::uint64_t n);
    // True with probability e^(-x), x >= 0.
    bool chance(double x);

private:
    std::mt19937_64 engine_;
};

// e^(-x) for x >= 0 from + - * / alone, so that every system rounds alike.
double expNeg(double x);

}  // namespace kazuban::design
