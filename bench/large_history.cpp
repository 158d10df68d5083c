// The program's heaviest steps on the largest history it takes: 32,767 draws
// and a full table of 1000 combinations. Each case reports its wall time and,
// as counters, the peak resident memory of the process while the step ran
// (peak_MB, the high-water mark reset before the step) and what it holds
// afterwards (rss_MB).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/form1.h"
#include "history/draw_history.h"
#include "platform/headless_platform.h"

namespace {

using namespace kazuban;
namespace fs = std::filesystem;

constexpr int kDraws = history::kMaxDraws;
constexpr int kCombinations = 1000;

std::string field(int n) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%2d", n);
    return buf;
}

// A data folder with the history, an environment file and a combination
// file, made once and removed at exit.
class DataFolder {
public:
    DataFolder() {
        // A folder of its own: the first free name from a random start.
        for (unsigned k = std::random_device{}();; ++k) {
            path_ = fs::temp_directory_path() / ("kazuban-bench-" + std::to_string(k));
            if (fs::create_directory(path_)) break;
        }
        std::mt19937 rng(32767u);
        std::array<int, 31> v{};
        for (int i = 0; i < 31; ++i) v[static_cast<std::size_t>(i)] = i + 1;
        auto numbers = [&](int count) {
            std::shuffle(v.begin(), v.end(), rng);
            std::sort(v.begin(), v.begin() + 5);
            std::string t;
            for (int k = 0; k < count; ++k) {
                if (k) t += ',';
                t += field(v[static_cast<std::size_t>(k)]);
            }
            return t;
        };
        std::ofstream history(path_ / "atarimgrp.txt", std::ios::binary);
        history << "kai=numbers\r\n";
        for (int d = 1; d <= kDraws; ++d) history << d << "=" << numbers(6) << "\r\n";
        std::ofstream(path_ / "Kazuban.ini", std::ios::binary)
            << "[ Kazuban ]\r\nYour editor=\r\nYour data dirctory=\r\nYour calcsoft=\r\nYour browser=\r\n";
        std::ofstream combos(path_ / "combos.txt", std::ios::binary);
        for (int r = 0; r < kCombinations; ++r) combos << numbers(5) << "\r\n";
    }
    ~DataFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string str() const { return path_.string(); }
    std::string file(const char* name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

const DataFolder& folder() {
    static const DataFolder f;
    return f;
}

// The kernel's resident-memory figures of this process, in MB.
double statusMB(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::string(key).size()) / 1024.0;
    return 0;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void reportMemory(benchmark::State& state) {
    state.counters["peak_MB"] = statusMB("VmHWM:");
    state.counters["rss_MB"] = statusMB("VmRSS:");
}

// A started program with the combination file loaded and evaluated.
struct Running {
    platform::HeadlessPlatform platform;
    app::Form1 form{platform};
    Running() {
        platform.printMessages = false;
        if (!form.Form_Load(folder().str())) std::abort();
        platform.openAnswers.push_back(folder().file("combos.txt"));
        form.mnudopen_Click();
        if (form.wins().hasCombinationData() == 0) std::abort();
    }
};

void BM_StartUp(benchmark::State& state) {
    platform::HeadlessPlatform platform;
    platform.printMessages = false;
    resetPeak();
    for (auto _ : state) {
        app::Form1 form(platform);
        benchmark::DoNotOptimize(form.Form_Load(folder().str()));
    }
    reportMemory(state);
}
BENCHMARK(BM_StartUp)->Name("LargeHistory/StartUp/32767draws")->Unit(benchmark::kMillisecond);

void BM_Recalculation(benchmark::State& state) {
    Running run;
    resetPeak();
    for (auto _ : state) run.form.wins().recalculateCombinationTable();
    reportMemory(state);
}
BENCHMARK(BM_Recalculation)->Name("LargeHistory/Recalculation/32767draws/1000combos")->Unit(benchmark::kMillisecond);

void BM_TotalsTab(benchmark::State& state) {
    Running run;
    resetPeak();
    for (auto _ : state) {
        run.form.SSTab1_Click(app::kTabTotals);
    }
    reportMemory(state);
}
BENCHMARK(BM_TotalsTab)->Name("LargeHistory/Tab1/32767draws/1000combos")->Unit(benchmark::kMillisecond);

void BM_PredrawTab(benchmark::State& state) {
    Running run;
    resetPeak();
    for (auto _ : state) {
        run.form.predraw().forgetAnalysis();  // computed again, as at the first selection of the tab
        run.form.SSTab1_Click(app::kTabPredraw);
    }
    reportMemory(state);
}
BENCHMARK(BM_PredrawTab)->Name("LargeHistory/Tab4/32767draws")->Unit(benchmark::kMillisecond);

}  // namespace
