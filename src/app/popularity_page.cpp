#include "app/popularity_page.h"

#include <string>
#include <vector>

#include "analysis/combination_values.h"
#include "analysis/draws.h"
#include "combos/combination_table.h"

namespace kazuban::app {

void PopularityPage::enter() { refresh(); }

void PopularityPage::changed(const Changes& changes) {
    if (s_.SSTab1 == kTabOdds && (changes.has(kTableChanged) || changes.has(kHistoryChanged))) refresh();
}

std::shared_ptr<const analysis::PopularityModel> PopularityPage::model(std::string* why) {
    fit();
    if (!model_ && why) *why = modelMessage_;
    return model_;
}

void PopularityPage::fit() {
    if (fittedRevision_ == s_.historyRevision()) return;
    fittedRevision_ = s_.historyRevision();
    model_.reset();
    distribution_.clear();
    modelMessage_.clear();
    if (!s_.payoutFileFound) {
        modelMessage_ = analysis::kNoPayoutFileMessage;
    } else if (!s_.payoutProblem.empty()) {
        modelMessage_ = s_.payoutProblem;
    } else {
        const auto draws = analysis::countedDraws(s_.history, s_.payouts, s_.history.maxn());
        if (static_cast<int>(draws.size()) < analysis::kPopularityMinDraws) {
            modelMessage_ = analysis::tooFewDrawsMessage(static_cast<int>(draws.size()));
        } else {
            const platform::BusyPointer busy(s_.platform);
            auto fitted = std::make_shared<analysis::PopularityModel>(analysis::fitPopularity(draws));
            // The next draw follows the history's last one.
            fitted->predictAfter(analysis::mainMask(s_.history, s_.history.maxn()));
            distribution_ = analysis::popularityDistribution(*fitted);
            model_ = std::move(fitted);
        }
    }
}

void PopularityPage::refresh() {
    fit();
    std::vector<std::string> texts;
    std::vector<int> rows;
    for (int r = 1; r <= combos::kDataRows; ++r) {
        texts.push_back(s_.MSFlexGrid1.cell(r, 1));
        if (!texts.back().empty()) rows.push_back(r);
    }
    const analysis::Snapshot snap = analysis::takeSnapshot(texts);
    if (!model_) {
        figures_ = {};
        figures_.message = modelMessage_;
    } else if (snap.status != analysis::SnapshotStatus::Ok) {
        figures_ = {};
        figures_.message = analysis::snapshotMessage(snap);
    } else {
        figures_ = analysis::popularityFigures(*model_, rows, snap.combos);
        figures_.distribution = distribution_;
    }
    ++revision_;
}

}  // namespace kazuban::app
