#include "app/stats_page.h"

#include <algorithm>

namespace kazuban::app {

std::string StatsPage::note() const {
    std::string note = stats_.draws == 0
                           ? std::string("集計できる当選番号がありません")
                           : "第" + std::to_string(stats_.firstDraw) + "回～第" + std::to_string(stats_.lastDraw) +
                                 "回の " + std::to_string(stats_.draws) + " 回を集計";
    if (stats_.leftOut > 0) note += "（正しくない当選番号 " + std::to_string(stats_.leftOut) + " 回は除いています）";
    return note;
}

void StatsPage::enter() {
    if (stale_) compute();
}

void StatsPage::setWindow(int window) {
    window_ = std::max(window, 0);
    compute();
}

void StatsPage::changed(const Changes& changes) {
    if (!changes.has(kHistoryChanged)) return;
    stale_ = true;
    if (s_.SSTab1 == kTabCharts) compute();
}

void StatsPage::compute() {
    stats_ = analysis::computeHistoryStats(s_.history, window_);
    stale_ = false;
    ++revision_;
}

}  // namespace kazuban::app
