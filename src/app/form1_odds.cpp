// The tab "確率・検証": the figures come from analysis/odds_page.h.
#include <chrono>
#include <string>
#include <vector>

#include "app/form1.h"
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

void Form1::enterOddsTab() {
    std::vector<std::string> texts;
    texts.reserve(combos::kDataRows);
    for (int r = 1; r <= combos::kDataRows; ++r) texts.push_back(combinationTable().cell(r, 1));
    analysis::SnapshotStatus status;
    {
        DelayedProgress progress(platform, oddsPage.progressDelay);
        status = analysis::refreshOddsPage(oddsPage, texts, history, progress.fn());
    }
    if (status != analysis::SnapshotStatus::Ok)
        platform.messageBox(oddsPage.message, platform::Icon::Critical, platform::Buttons::Ok);
}

void Form1::oddsRangeChanged(int from, int to) {
    DelayedProgress progress(platform, oddsPage.progressDelay);
    analysis::setOddsRange(oddsPage, from, to, history, progress.fn());
}

void Form1::oddsPrizeChanged(int grade, std::int64_t yen) { analysis::setPrize(oddsPage, grade, yen); }

}  // namespace kazuban::app
