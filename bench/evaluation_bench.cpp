// Win-entry evaluation of a full combination table: the triple index against
// the draw-by-draw substring rule, on the real history and on a long
// synthetic one. Each run writes the entries into the table, as the check
// command does after emptying the win-entry columns.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "combos/combination_table.h"
#include "combos/evaluation.h"
#include "history/draw_history.h"
#include "platform/headless_platform.h"

namespace {

using namespace kazuban;

std::string field(int n) { return n < 10 ? std::string{' ', static_cast<char>('0' + n)} : std::to_string(n); }

std::string join(const int* v, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i) s += ',';
        s += field(v[i]);
    }
    return s;
}

// Six distinct numbers 1..31: five ascending main numbers and a bonus.
std::array<int, 6> randomDraw(std::mt19937& rng) {
    std::array<int, 31> pool{};
    for (int i = 0; i < 31; ++i) pool[i] = i + 1;
    for (int i = 0; i < 6; ++i) std::swap(pool[i], pool[i + rng() % (31 - i)]);
    std::array<int, 6> d{};
    std::copy(pool.begin(), pool.begin() + 6, d.begin());
    std::sort(d.begin(), d.begin() + 5);
    return d;
}

const history::DrawHistory& demoHistory() {
    static const history::DrawHistory h = history::readWinningNumbers(KAZUBAN_DEMO_DIR "/atarimgrp.txt").history;
    return h;
}

const history::DrawHistory& syntheticHistory() {
    static const history::DrawHistory h = [] {
        std::mt19937 rng(30000);
        std::vector<std::string> lines{"回=本数字,ボーナス"};
        for (int k = 1; k <= 30000; ++k) {
            const auto d = randomDraw(rng);
            std::string line = "第";
            line += std::to_string(k);
            line += "回=";
            line += join(d.data(), 6);
            lines.push_back(std::move(line));
        }
        return history::historyFromLines(lines).history;
    }();
    return h;
}

grid::TextGrid tableOf1000(int maxn) {
    std::mt19937 rng(1000);
    grid::TextGrid t;
    combos::layoutTable(t, maxn);
    for (int r = 1; r <= combos::kDataRows; ++r) t.setCell(r, 1, join(randomDraw(rng).data(), 5));
    return t;
}

void evaluateTable(benchmark::State& state, const history::DrawHistory& h, combos::Method method) {
    platform::HeadlessPlatform p;
    grid::TextGrid t = tableOf1000(h.maxn());
    std::size_t entries = 0;
    for (auto _ : state) {
        t.clearRange(1, combos::kFirstWinColumn, combos::kDataRows, combos::lastWinColumn(t, h.maxn()));
        combos::evaluateWinEntries(t, h, h.maxn(), p, method);
        benchmark::ClobberMemory();
    }
    for (int r = 1; r <= combos::kDataRows; ++r) entries += static_cast<std::size_t>(t.storedCells(r) - 2);
    state.counters["entries"] = static_cast<double>(entries);
}

void BM_EvaluateFast_1000Combos_1400Draws(benchmark::State& s) {
    evaluateTable(s, demoHistory(), combos::Method::Fast);
}
void BM_EvaluateLiteral_1000Combos_1400Draws(benchmark::State& s) {
    evaluateTable(s, demoHistory(), combos::Method::Literal);
}
void BM_EvaluateFast_1000Combos_30000Draws(benchmark::State& s) {
    evaluateTable(s, syntheticHistory(), combos::Method::Fast);
}
void BM_EvaluateLiteral_1000Combos_30000Draws(benchmark::State& s) {
    evaluateTable(s, syntheticHistory(), combos::Method::Literal);
}

// Building the index alone (once per history load).
void BM_BuildDrawIndex_30000Draws(benchmark::State& state) {
    for (auto _ : state) {
        combos::DrawIndex index(syntheticHistory());
        benchmark::DoNotOptimize(index.lastDraw());
    }
}

// The pre-draw view's workload: every draw's numbers against all earlier draws.
void BM_EachDrawAgainstEarlierDraws_30000Draws(benchmark::State& state) {
    const auto& h = syntheticHistory();
    combos::DrawIndex index(h);
    std::vector<combos::WinEntry> out;
    for (auto _ : state) {
        std::size_t total = 0;
        for (int q = 1; q <= h.maxn(); ++q) {
            index.winEntries(std::string_view(h.entry(q)).substr(0, 14), q - 1, out);
            total += out.size();
        }
        benchmark::DoNotOptimize(total);
    }
}

}  // namespace

BENCHMARK(BM_EvaluateFast_1000Combos_1400Draws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateLiteral_1000Combos_1400Draws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateFast_1000Combos_30000Draws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateLiteral_1000Combos_30000Draws)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BuildDrawIndex_30000Draws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EachDrawAgainstEarlierDraws_30000Draws)->Unit(benchmark::kMillisecond);

namespace {
void BM_WinEntriesOnly_1000Combos_30000Draws(benchmark::State& state) {
    const auto& h = syntheticHistory();
    combos::DrawIndex index(h);
    const grid::TextGrid t = tableOf1000(h.maxn());
    std::vector<combos::WinEntry> out;
    for (auto _ : state) {
        std::size_t total = 0;
        for (int r = 1; r <= 1000; ++r) {
            index.winEntries(t.cell(r, 1), h.maxn(), out);
            total += out.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
}  // namespace
BENCHMARK(BM_WinEntriesOnly_1000Combos_30000Draws)->Unit(benchmark::kMillisecond);
