#pragma once
// The tab "統計グラフ": one of the eight statistics of the history over a
// window of the latest draws, beside its exact expectation, and the tests of
// that window against random draws. The statistics are computed when the tab
// is chosen, when the user picks another window, and whenever the history
// changes while the tab is in sight; the tests when first asked for.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/history_stats.h"
#include "analysis/randomness.h"
#include "app/command_runner.h"
#include "app/state.h"

namespace kazuban::app {

class StatsPage : public ChangeObserver {
public:
    explicit StatsPage(State& state) : s_(state) {}

    const analysis::HistoryStats& stats() const { return stats_; }
    int window() const { return window_; }  // the latest draws counted; 0 for all
    // Rises with every new computation, so the tab redraws only then.
    unsigned revision() const { return revision_; }
    // The line above the chart: which draws were counted, how many left out.
    std::string note() const;

    // The tests of the statistics above. One test is quick, all eight take a
    // while (each simulates 10,000 histories), so each is computed only when
    // asked for and kept until the window or the history changes.
    const analysis::TestResult& test(analysis::RandomnessTest test);
    const analysis::RandomnessReport& report();

    void enter();                // computes when the history changed since the last time
    void setWindow(int window);  // a window chosen on the tab

    void changed(const Changes& changes) override;

private:
    void compute();

    State& s_;
    analysis::HistoryStats stats_;
    std::array<std::optional<analysis::TestResult>, analysis::kRandomnessTestCount> tests_;
    std::optional<analysis::RandomnessReport> report_;
    int window_ = 0;
    unsigned revision_ = 0;
    bool stale_ = true;
};

// What the tab writes of a test. The figures under the chart:
// "χ² = 44.552　自由度 30　p 値 0.0425　判定：やや偏り"; for a test too few
// draws allow, "－".
std::string testFigures(const analysis::TestResult& result);
// The columns of the table of all tests, and a test's row in it: as shown
// (a p-value below 0.0001 as "0.0001 未満"), or as copied (the report's
// figures). A test too few draws allow has no figures.
std::vector<std::string> testColumns();
std::vector<std::string> testRow(const analysis::TestResult& result, bool shown);
// Under that table: what many tests do by chance, or why there is no test.
std::string allTestsSentence(const analysis::RandomnessReport& report);

}  // namespace kazuban::app
