// Ticket design (tab 組合せ設計, `design`) at the default seed: what each
// search reaches and how long it takes. The counters are the figures the
// command prints; a run is one search, so each case runs once.
#include <benchmark/benchmark.h>

#include "design/design.h"

namespace {

using namespace kazuban::design;

Ticket firstNumbers(int m) { return static_cast<Ticket>(((std::uint64_t{1} << m) - 1) << 1); }

void report(benchmark::State& state, const Result& r) {
    state.counters["tickets"] = static_cast<double>(r.tickets.size());
    state.counters["covered"] = static_cast<double>(r.covered);
    state.counters["percent"] = 100.0 * static_cast<double>(r.covered) / static_cast<double>(r.units);
}

// N tickets over the 169,911 draws; arguments N and effort.
void BM_DesignBest_169911draws(benchmark::State& state) {
    Request r;
    r.tickets = static_cast<int>(state.range(0));
    r.effort = static_cast<int>(state.range(1));
    for (auto _ : state) report(state, runDesign(r));
}
BENCHMARK(BM_DesignBest_169911draws)
    ->ArgNames({"tickets", "effort"})
    ->Args({5, 1})
    ->Args({10, 1})
    ->Args({20, 1})
    ->Args({31, 1})
    ->Args({50, 1})
    ->Args({100, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Every draw covered: S(3,5,17) and the 14-number cover, then the search.
void BM_DesignGuarantee_169911draws(benchmark::State& state) {
    Request r;
    r.mode = Mode::Guarantee;
    for (auto _ : state) report(state, runDesign(r));
}
BENCHMARK(BM_DesignGuarantee_169911draws)->Iterations(1)->Unit(benchmark::kSecond);

// Wheels on the numbers 1..m; arguments P and m. The constructions (m = 26,
// 27 for P = 3) and the stored table answer at once.
void BM_DesignWheel_numbers1toM(benchmark::State& state) {
    Request r;
    r.mode = Mode::Wheel;
    r.atLeast = static_cast<int>(state.range(0));
    r.numbers = firstNumbers(static_cast<int>(state.range(1)));
    for (auto _ : state) report(state, runDesign(r));
    if (state.range(0) == 3) state.counters["schoenheim"] = schoenheimBound(static_cast<int>(state.range(1)));
}
void wheelArgs(benchmark::internal::Benchmark* b) {
    for (int m = 6; m <= 31; ++m) b->Args({3, m});
    for (int p = 4; p <= 5; ++p)
        for (int m = 8; m <= 31; ++m) b->Args({p, m});
}
BENCHMARK(BM_DesignWheel_numbers1toM)->ArgNames({"P", "m"})->Apply(wheelArgs)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
