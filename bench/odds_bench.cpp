// The exact odds of the tab "確率・検証" and its back-test: the count per
// main set from the subset counts against the straightforward walk over the
// 169,911 main sets, and the back-test over a long synthetic history.
#include <benchmark/benchmark.h>

#include <bit>
#include <random>
#include <vector>

#include "analysis/backtest.h"
#include "analysis/odds.h"
#include "history/draw_history.h"
#include "support/history_gen.h"

namespace {

using namespace kazuban;

std::vector<analysis::ComboMask> randomCombos(int n) {
    std::mt19937 rng(20240611u);
    std::vector<analysis::ComboMask> combos;
    while (static_cast<int>(combos.size()) < n) {
        analysis::ComboMask m = 0;
        while (std::popcount(m) < 5) m |= analysis::ComboMask{1} << (1 + rng() % 31);
        combos.push_back(m);
    }
    return combos;
}

const history::DrawHistory& synthetic30000() {
    static const history::DrawHistory h =
        history::historyFromLines(testing::syntheticHistoryLines(30000, 20240611u)).history;
    return h;
}

void BM_OddsFast(benchmark::State& state) {
    const auto combos = randomCombos(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(analysis::computeOdds(combos));
}
BENCHMARK(BM_OddsFast)->ArgName("combinations")->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_OddsEnumeration(benchmark::State& state) {
    const auto combos = randomCombos(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(analysis::computeOddsByEnumeration(combos));
}
BENCHMARK(BM_OddsEnumeration)->ArgName("combinations")->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// What the tab and `backtest` do: the odds, then the back-test over every draw.
void BM_BacktestWithOdds_30000draws(benchmark::State& state) {
    const auto combos = randomCombos(static_cast<int>(state.range(0)));
    const history::DrawHistory& h = synthetic30000();
    for (auto _ : state) {
        const analysis::Odds odds = analysis::computeOdds(combos);
        benchmark::DoNotOptimize(analysis::runBacktest(combos, odds, h, 1, h.maxn()));
    }
}
BENCHMARK(BM_BacktestWithOdds_30000draws)->ArgName("combinations")->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
