// The ticket ledger of a player of twenty years, 10 tickets a week: 10,000
// rows of kounyu.csv against the 1,400 draws of the demo with a date and
// four prizes each. What the tab 購入記録 pays when it opens (the file read,
// every row checked) and when a filter changes (the rows kept, sorted, the
// money, the years and the running balance); and the bytes of a write.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "history/draw_history.h"
#include "ledger/checking.h"
#include "ledger/ledger_file.h"
#include "ledger/listing.h"
#include "platform/line_file.h"
#include "platform/system.h"

namespace {

using namespace kazuban;
namespace fs = std::filesystem;

struct Ledger {
    history::DrawHistory history = history::readWinningNumbers(fs::path(KAZUBAN_DEMO_DIR) / "atarimgrp.txt").history;
    history::PayoutTable payouts;
    std::vector<ledger::Row> rows;
    fs::path folder = fs::temp_directory_path() / ("kazuban-ledger-bench-" + std::to_string(platform::processNumber()));
    Ledger() {
        for (int n = 1; n <= history.maxn(); ++n) {
            auto& f = payouts[n].fields;
            f[history::kDateField] = 19990413 + (n % 20) * 10000;
            for (int g = 0; g < 4; ++g) f[static_cast<std::size_t>(history::kPrizeField + g)] = 10000000 >> (3 * g);
        }
        std::mt19937 rng(5);
        for (int i = 0; i < 10000; ++i) {
            std::vector<int> pool(31);
            for (int k = 0; k < 31; ++k) pool[static_cast<std::size_t>(k)] = k + 1;
            std::shuffle(pool.begin(), pool.end(), rng);
            std::sort(pool.begin(), pool.begin() + 5);
            rows.push_back({1 + i * 1402 / 10000,
                            {pool[0], pool[1], pool[2], pool[3], pool[4]},
                            1 + i % 3,
                            20180101,
                            i % 7 == 0 ? 20190101 : 0,
                            i % 10 == 0 ? "継続" : ""});
        }
        fs::create_directories(folder);
        platform::writeFileAtomic(folder / ledger::kLedgerFileName, ledger::ledgerBytes(rows));
    }
    ~Ledger() { fs::remove_all(folder); }
};

void BM_LedgerOpen_10000Rows_1400Draws(benchmark::State& state) {
    Ledger l;
    for (auto _ : state) {
        ledger::LedgerFile file(l.folder / ledger::kLedgerFileName);
        file.read();
        benchmark::DoNotOptimize(ledger::checkRows(file.rows(), l.history, l.payouts));
    }
}
BENCHMARK(BM_LedgerOpen_10000Rows_1400Draws)->Unit(benchmark::kMillisecond);

void BM_LedgerFilter_10000Rows(benchmark::State& state) {
    Ledger l;
    const auto checked = ledger::checkRows(l.rows, l.history, l.payouts);
    int k = 0;
    for (auto _ : state) {
        ledger::ListFilter filter;
        filter.year = k % 2 ? -1 : 2005;
        filter.show = k % 3 == 0 ? ledger::Show::All : ledger::Show::WinsOnly;
        ++k;
        auto which = ledger::filterRows(l.rows, checked, filter);
        ledger::sortRows(which, l.rows, checked, ledger::kColYen, false);
        benchmark::DoNotOptimize(ledger::sumMoney(l.rows, checked, which, 20190101));
        benchmark::DoNotOptimize(ledger::moneyByYear(l.rows, checked, which, 20190101));
        benchmark::DoNotOptimize(ledger::runningBalance(l.rows, checked, which));
        benchmark::DoNotOptimize(ledger::deadlineNotes(l.rows, checked, 20190101));
    }
}
BENCHMARK(BM_LedgerFilter_10000Rows)->Unit(benchmark::kMillisecond);

// Every line's texts, as a list that formatted all of them would pay.
void BM_LedgerListTexts_10000Rows(benchmark::State& state) {
    Ledger l;
    const auto checked = ledger::checkRows(l.rows, l.history, l.payouts);
    for (auto _ : state)
        for (std::size_t i = 0; i < l.rows.size(); ++i)
            benchmark::DoNotOptimize(ledger::listTexts(l.rows[i], checked[i], 20190101));
}
BENCHMARK(BM_LedgerListTexts_10000Rows)->Unit(benchmark::kMillisecond);

void BM_LedgerBytes_10000Rows(benchmark::State& state) {
    Ledger l;
    for (auto _ : state) benchmark::DoNotOptimize(ledger::ledgerBytes(l.rows));
}
BENCHMARK(BM_LedgerBytes_10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
