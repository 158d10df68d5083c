// The undo history of the combination table: what one command pays for its
// step (the texts of 1000 rows kept and compared), and an undo with the check
// that follows it (1000 combinations against the 1,400 draws of the demo).
#include <benchmark/benchmark.h>

#include <string>

#include "app/form1.h"
#include "platform/headless_platform.h"

namespace {

using namespace kazuban;

struct Loaded {
    platform::HeadlessPlatform platform;
    app::Form1 form{platform};
    Loaded() {
        platform.printMessages = false;
        form.Form_Load(KAZUBAN_DEMO_DIR);
        // Every row holds a combination: the winning numbers of a draw.
        for (int r = 1; r <= 1000; ++r)
            form.combinationTable().setCell(r, 1, form.state().history.entry(r + 300).substr(0, 14));
        form.Command5_Click();
    }
};

void BM_UndoStepOfAPaste_1000Combinations(benchmark::State& state) {
    Loaded l;
    int i = 0;
    for (auto _ : state) {
        l.platform.setClipboardText(l.form.state().history.entry(1 + i % 1400).substr(0, 14) + "\r\n");
        l.form.combinationTable().setRow(1 + i % 1000);
        l.form.pmnupaste_click();
        ++i;
    }
    benchmark::DoNotOptimize(l.form.state().undoHistory.undoSteps());
}
BENCHMARK(BM_UndoStepOfAPaste_1000Combinations)->Unit(benchmark::kMicrosecond);

void BM_UndoAndCheck_1000Combinations_1400Draws(benchmark::State& state) {
    Loaded l;
    l.platform.setClipboardText(" 1, 2, 3, 4, 5\r\n");
    for (auto _ : state) {
        state.PauseTiming();
        l.form.combinationTable().setRow(500);
        l.form.pmnupaste_click();
        state.ResumeTiming();
        l.form.mnuundo_Click();
    }
}
BENCHMARK(BM_UndoAndCheck_1000Combinations_1400Draws)->Unit(benchmark::kMillisecond);

}  // namespace
