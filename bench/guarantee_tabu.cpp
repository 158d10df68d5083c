// The tabu search alone on the guarantee of every draw, from the two-part
// cover (S(3,5,17) and a cover of the other 14 numbers, 111 tickets): the
// ticket that alone covers fewest draws goes, and the tabu search tries to
// cover every draw again with one fewer, for at most SECONDS in all. Each
// cover it reaches is proved by the recount and printed.
//   kazuban_guarantee_tabu SECONDS SEED
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "design/construction.h"
#include "design/design.h"
#include "design/proof.h"
#include "design/search.h"

namespace {

using namespace kazuban::design;

std::vector<Ticket> ticketsOf(const std::vector<Positions>& s) {
    std::vector<Ticket> t;
    for (Positions p : s) t.push_back(p << 1);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kazuban_guarantee_tabu SECONDS SEED\n");
        return 2;
    }
    const long seconds = std::atol(argv[1]);
    const auto seed = std::strtoull(argv[2], nullptr, 10);
    const CoverSpace space(31, 5, [](Positions) { return true; });
    std::vector<Positions> cover = steinerBlocks17();
    for (Positions t : tripleCover14()) cover.push_back(t << 17);
    std::printf("start %zu tickets, covered %lld\n", cover.size(),
                static_cast<long long>(countCovered(kAllNumbers, 5, ticketsOf(cover))));

    std::atomic<bool> stop{false};
    std::thread timer([&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!stop.load() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop.store(true);
    });
    SearchHooks hooks;
    hooks.seed = seed;
    hooks.cancel = &stop;
    const auto t0 = std::chrono::steady_clock::now();
    while (!stop.load()) {
        // Drop the ticket whose loss opens fewest draws.
        std::size_t weakest = 0;
        std::int64_t weakestOpen = -1;
        for (std::size_t i = 0; i < cover.size(); ++i) {
            std::vector<Positions> rest = cover;
            rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
            const std::int64_t open = searchTabu(space, rest, 0, hooks).open;
            if (weakestOpen < 0 || open < weakestOpen) weakestOpen = open, weakest = i;
        }
        cover.erase(cover.begin() + static_cast<std::ptrdiff_t>(weakest));
        std::printf("trying %zu tickets from %lld open\n", cover.size(), static_cast<long long>(weakestOpen));
        std::fflush(stdout);
        std::int64_t bestOpen = weakestOpen;
        for (std::uint64_t round = 0; !stop.load() && bestOpen > 0; ++round) {
            hooks.seed = seed * 1000003 + round;
            const Found f = searchTabu(space, cover, 200'000, hooks);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::printf("  round %llu: best %lld open (%.0f s)\n", static_cast<unsigned long long>(round),
                        static_cast<long long>(f.open), s);
            std::fflush(stdout);
            if (f.open <= bestOpen) cover = f.tickets, bestOpen = f.open;
        }
        if (bestOpen > 0) break;
        const std::int64_t covered = countCovered(kAllNumbers, 5, ticketsOf(cover));
        std::printf("COVER %zu tickets, proved covered %lld of %lld\n", cover.size(), static_cast<long long>(covered),
                    static_cast<long long>(kDraws));
        for (Ticket t : ticketsOf(cover)) std::printf("%s\n", ticketText(t).c_str());
        std::fflush(stdout);
    }
    stop.store(true);
    timer.join();
    return 0;
}
