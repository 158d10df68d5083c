// The popularity estimate of the tab "確率・検証" and of `popularity`: the
// fit on 1,400 draws with winner counts and the figures of 1000 rows, which
// together should take at most a second; and 組合せ設計 with and without
// 人気の組合せを避ける, which should take at most twice as long with it.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/popularity.h"
#include "app/design_page.h"
#include "support/history_gen.h"

namespace {

using namespace kazuban;

// Draws of the synthetic history with counts like the published ones.
std::vector<analysis::CountedDraw> countedDraws(int n) {
    std::mt19937 rng(20240611u);
    std::vector<analysis::CountedDraw> draws;
    analysis::ComboMask previous = 0;
    for (const testing::Draw& d : testing::syntheticDraws(n, 20240611u)) {
        analysis::CountedDraw c;
        c.number = static_cast<int>(draws.size()) + 1;
        for (int i = 0; i < 5; ++i) c.main |= analysis::ComboMask{1} << d[static_cast<std::size_t>(i)];
        c.previous = previous;
        previous = c.main;
        const double perSet = 15 * std::uniform_real_distribution<double>(0.7, 1.3)(rng);
        const double lift = std::exp(0.2 * std::popcount(c.main & 0x1FFEu));  // numbers <= 12
        c.winners = {std::poisson_distribution<std::int64_t>(perSet * lift)(rng),
                     std::poisson_distribution<std::int64_t>(perSet * 5)(rng),
                     std::poisson_distribution<std::int64_t>(perSet * 125)(rng), std::llround(perSet * 3250)};
        c.prizes = {10'000'000, 150'000, 10'000, 1'000};
        c.prizesKnown = true;
        draws.push_back(c);
    }
    return draws;
}

std::vector<analysis::ComboMask> randomCombos(int n) {
    std::mt19937 rng(7u);
    std::vector<analysis::ComboMask> combos;
    while (static_cast<int>(combos.size()) < n) {
        analysis::ComboMask m = 0;
        while (std::popcount(m) < 5) m |= analysis::ComboMask{1} << (1 + rng() % 31);
        combos.push_back(m);
    }
    return combos;
}

void BM_PopularityFitAndRows(benchmark::State& state) {
    const auto draws = countedDraws(static_cast<int>(state.range(0)));
    const auto combos = randomCombos(1000);
    for (auto _ : state) {
        const analysis::PopularityModel model = analysis::fitPopularity(draws);
        benchmark::DoNotOptimize(analysis::popularityFigures(model, {}, combos));
    }
}
BENCHMARK(BM_PopularityFitAndRows)->ArgName("draws")->Arg(1000)->Arg(1400)->Unit(benchmark::kMillisecond);

// The chart's distribution over all main sets, drawn once per fit.
void BM_PopularityDistribution(benchmark::State& state) {
    const analysis::PopularityModel model = analysis::fitPopularity(countedDraws(1400));
    for (auto _ : state) benchmark::DoNotOptimize(analysis::popularityDistribution(model));
}
BENCHMARK(BM_PopularityDistribution)->Unit(benchmark::kMillisecond);

// A design without (0) and with (1) the option, on the model of 1,400 draws:
// the 10 and 100 tickets covering most draws, and the guarantee of every draw.
void BM_DesignAvoidingPopular(benchmark::State& state) {
    static const auto model = std::make_shared<analysis::PopularityModel>(analysis::fitPopularity(countedDraws(1400)));
    design::Request r;
    if (state.range(0) == 0) {
        r.mode = design::Mode::Guarantee;
    } else {
        r.tickets = static_cast<int>(state.range(0));
    }
    const app::PopularOption option{model, 1.5};
    for (auto _ : state)
        benchmark::DoNotOptimize(app::runDesignWork(r, {}, nullptr, state.range(1) ? &option : nullptr));
}
BENCHMARK(BM_DesignAvoidingPopular)
    ->ArgNames({"tickets", "avoid"})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
