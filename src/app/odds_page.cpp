#include "app/odds_page.h"

#include <chrono>
#include <vector>

#include "analysis/backtest.h"
#include "combos/combination_table.h"

namespace kazuban::app {

namespace {

// The progress bar of long work, shown only once the work has run longer
// than `delay`, so that the usual quick count does not flash it.
class DelayedProgress {
public:
    DelayedProgress(platform::Platform& p, std::chrono::milliseconds delay)
        : platform_(p), delay_(delay), start_(std::chrono::steady_clock::now()) {
        platform_.setBusy(true);
    }
    ~DelayedProgress() {
        if (shown_) platform_.hideProgress();
        platform_.setBusy(false);
    }
    DelayedProgress(const DelayedProgress&) = delete;
    DelayedProgress& operator=(const DelayedProgress&) = delete;

    analysis::ProgressFn fn() {
        return [this](int done, int total) {
            if (!shown_) {
                if (std::chrono::steady_clock::now() - start_ < delay_) return;
                platform_.showProgress(0, total);
                shown_ = true;
            }
            platform_.setProgress(done);
        };
    }

private:
    platform::Platform& platform_;
    std::chrono::milliseconds delay_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
};

}  // namespace

void OddsPage::enter() { refresh(true); }

void OddsPage::changed(const Changes& changes) {
    // In sight, the figures follow the table and the history at once; the
    // refused row's message is then on the tab, not in a box over the command.
    if (s_.SSTab1 == kTabOdds && (changes.has(kTableChanged) || changes.has(kHistoryChanged))) refresh(false);
}

void OddsPage::refresh(bool reportRefusal) {
    std::vector<std::string> texts;
    texts.reserve(combos::kDataRows);
    for (int r = 1; r <= combos::kDataRows; ++r) texts.push_back(s_.MSFlexGrid1.cell(r, 1));
    analysis::SnapshotStatus status;
    figures_.madeAt = s_.rowsMadeAt;
    {
        DelayedProgress progress(s_.platform, figures_.progressDelay);
        status = analysis::refreshOddsPage(figures_, texts, s_.history, progress.fn());
    }
    rangeProblem_.clear();
    countPayouts();
    if (status != analysis::SnapshotStatus::Ok && reportRefusal)
        s_.platform.messageBox(figures_.message, platform::Icon::Critical, platform::Buttons::Ok);
}

void OddsPage::rangeChanged(int from, int to) {
    DelayedProgress progress(s_.platform, figures_.progressDelay);
    if (analysis::setOddsRange(figures_, from, to, s_.history, progress.fn())) {
        rangeProblem_.clear();
        countPayouts();
    } else {
        rangeProblem_ = analysis::rangeMessage(s_.history.maxn());
        ++figures_.revision;
    }
}

void OddsPage::rangeAfterMadeRows() {
    int from = 0, to = 0;
    if (analysis::rangeAfterMadeRows(figures_, from, to)) rangeChanged(from, to);
}

void OddsPage::countPayouts() {
    payouts_ = figures_.ready
                   ? analysis::runPayoutBacktest(figures_.combos, s_.history, s_.payouts, figures_.from, figures_.to)
                   : analysis::PayoutBacktest{};
}

void OddsPage::prizeChanged(int grade, std::int64_t yen) { analysis::setPrize(figures_, grade, yen); }

}  // namespace kazuban::app
