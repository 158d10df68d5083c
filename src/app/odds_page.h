#pragma once
// The tab "確率・検証": the exact chances of the table's combinations in the
// next draw, the expected return at the prize amounts typed on the tab, and
// the back-test over a range of past draws, against chance and in the yen
// the draws paid (atarikin.csv). The figures follow the table, the range and
// the history while the tab is in sight.
#include <cstdint>
#include <string>

#include "analysis/odds_page.h"
#include "analysis/payout.h"
#include "app/command_runner.h"
#include "app/state.h"

namespace kazuban::app {

class OddsPage : public ChangeObserver {
public:
    explicit OddsPage(State& state) : s_(state) {}

    const analysis::OddsPage& figures() const { return figures_; }
    // The back-test range in yen, at the prizes the draws paid.
    const analysis::PayoutBacktest& payouts() const { return payouts_; }
    // Why the range typed last was not taken ("" when it was): the figures
    // stay those of the last valid range.
    const std::string& rangeProblem() const { return rangeProblem_; }
    // Work that takes longer than this shows the progress bar.
    void setProgressDelay(std::chrono::milliseconds delay) { figures_.progressDelay = delay; }

    // The entry steps: a snapshot of the table and its figures; a refused row
    // shows its message.
    void enter();
    // The back-test range typed on the tab.
    void rangeChanged(int from, int to);
    // 作成後の回で検証: the range becomes the draws after the rows were made.
    void rangeAfterMadeRows();
    // A prize amount typed on the tab (grade 1..4, whole yen).
    void prizeChanged(int grade, std::int64_t yen);

    void changed(const Changes& changes) override;

private:
    void refresh(bool reportRefusal);
    void countPayouts();

    State& s_;
    analysis::OddsPage figures_;
    analysis::PayoutBacktest payouts_;
    std::string rangeProblem_;
};

}  // namespace kazuban::app
