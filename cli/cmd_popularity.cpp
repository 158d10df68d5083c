// popularity: how many others hold the table's combinations, and their worth in yen.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/backtest.h"
#include "analysis/combination_values.h"
#include "analysis/draws.h"
#include "analysis/popularity.h"
#include "commands.h"
#include "history/payout_table.h"
#include "session.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::cli {

int runPopularity(const Context& ctx, const std::string& file, std::optional<int> to) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    const int maxn = s->form.state().history.maxn();
    if (to && !analysis::isValidRange(1, *to, maxn)) {
        s->platform.messageBox(analysis::rangeMessage(maxn), platform::Icon::None, platform::Buttons::Ok);
        return 2;
    }
    if ((code = loadCombinationFile(*s, file)) != 0) return code;
    const grid::TextGrid& table = s->form.combinationTable();
    std::vector<std::string> texts;
    std::vector<int> rows;
    for (int r = 1; r <= 1000; ++r) {
        texts.push_back(table.cell(r, 1));
        if (!texts.back().empty()) rows.push_back(r);
    }
    const analysis::Snapshot snap = analysis::takeSnapshot(texts);
    if (snap.status != analysis::SnapshotStatus::Ok) {
        s->platform.messageBox(analysis::snapshotMessage(snap), platform::Icon::Critical, platform::Buttons::Ok);
        return 1;
    }
    const std::filesystem::path payoutFile = text::pathFromUtf8(ctx.dir) / history::kPayoutFileName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(payoutFile, ec)) {
        s->platform.messageBox(analysis::kNoPayoutFileMessage, platform::Icon::None, platform::Buttons::Ok);
        return 1;
    }
    history::PayoutTable payouts;
    try {
        payouts = history::readPayoutTable(payoutFile);
    } catch (const AppError& e) {
        s->platform.messageBox(e.text(), platform::Icon::None, platform::Buttons::Ok);
        return e.code() == kInvalidCall ? 1 : 2;
    }
    const auto draws = analysis::countedDraws(s->form.state().history, payouts, to.value_or(maxn));
    if (static_cast<int>(draws.size()) < analysis::kPopularityMinDraws) {
        s->platform.messageBox(analysis::tooFewDrawsMessage(static_cast<int>(draws.size())), platform::Icon::None,
                               platform::Buttons::Ok);
        return 1;
    }
    // The figures are for the draw after N, whose previous draw is N.
    analysis::PopularityModel model = analysis::fitPopularity(draws);
    model.predictAfter(analysis::mainMask(s->form.state().history, to.value_or(maxn)));
    return emitLfText(ctx, analysis::formatPopularity(model, rows, snap.combos));
}

}  // namespace kazuban::cli
