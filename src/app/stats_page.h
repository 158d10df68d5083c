#pragma once
// The tab "統計グラフ": one of the eight statistics of the history over a
// window of the latest draws, beside its exact expectation. Computed when
// the tab is chosen, when the user picks another window, and whenever the
// history changes while the tab is in sight.
#include <string>

#include "analysis/history_stats.h"
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

    void enter();                // computes when the history changed since the last time
    void setWindow(int window);  // a window chosen on the tab

    void changed(const Changes& changes) override;

private:
    void compute();

    State& s_;
    analysis::HistoryStats stats_;
    int window_ = 0;
    unsigned revision_ = 0;
    bool stale_ = true;
};

}  // namespace kazuban::app
