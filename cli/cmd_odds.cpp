// odds, backtest and payout: the figures of the tab "確率・検証".
#include <optional>
#include <string>
#include <vector>

#include "analysis/backtest.h"
#include "analysis/combination_values.h"
#include "analysis/odds.h"
#include "analysis/payout.h"
#include "commands.h"
#include "history/payout_table.h"
#include "session.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::cli {

namespace {

// The table's combinations after loading FILE as check does; nullopt (with
// the exit status in *code) when the file or a row was refused.
std::optional<std::vector<analysis::ComboMask>> loadCombos(Session& s, const std::string& file, int* code) {
    if ((*code = loadCombinationFile(s, file)) != 0) return std::nullopt;
    const grid::TextGrid& table = s.form.combinationTable();
    std::vector<std::string> texts;
    texts.reserve(1000);
    for (int r = 1; r <= 1000; ++r) texts.push_back(table.cell(r, 1));
    analysis::Snapshot snap = analysis::takeSnapshot(texts);
    if (snap.status != analysis::SnapshotStatus::Ok) {
        s.platform.messageBox(analysis::snapshotMessage(snap), platform::Icon::Critical, platform::Buttons::Ok);
        *code = 1;
        return std::nullopt;
    }
    return std::move(snap.combos);
}

}  // namespace

int runOdds(const Context& ctx, const std::string& file) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    const auto combos = loadCombos(*s, file, &code);
    if (!combos) return code;
    return emitLfText(ctx, analysis::formatOdds(analysis::computeOdds(*combos)));
}

int runBacktest(const Context& ctx, const std::string& file, std::optional<int> from, std::optional<int> to) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    const int maxn = s->form.state().history.maxn();
    if ((from || to) && !analysis::isValidRange(from.value_or(1), to.value_or(maxn), maxn)) {
        s->platform.messageBox(analysis::rangeMessage(maxn), platform::Icon::None, platform::Buttons::Ok);
        return 2;
    }
    const auto combos = loadCombos(*s, file, &code);
    if (!combos) return code;
    // Loading reloaded the history; the range stays the one checked above.
    const analysis::Odds odds = analysis::computeOdds(*combos);
    const analysis::Backtest b =
        analysis::runBacktest(*combos, odds, s->form.state().history, from.value_or(1), to.value_or(maxn));
    return emitLfText(ctx, analysis::formatBacktest(b));
}

int runPayout(const Context& ctx, const std::string& file, std::optional<int> from, std::optional<int> to) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    const int maxn = s->form.state().history.maxn();
    if ((from || to) && !analysis::isValidRange(from.value_or(1), to.value_or(maxn), maxn)) {
        s->platform.messageBox(analysis::rangeMessage(maxn), platform::Icon::None, platform::Buttons::Ok);
        return 2;
    }
    history::PayoutTable payouts;
    try {
        payouts = history::readPayoutTable(text::pathFromUtf8(ctx.dir) / history::kPayoutFileName);
    } catch (const AppError& e) {
        s->platform.messageBox(e.text(), platform::Icon::None, platform::Buttons::Ok);
        return e.code() == kInvalidCall ? 1 : 2;
    }
    const auto combos = loadCombos(*s, file, &code);
    if (!combos) return code;
    const analysis::PayoutBacktest b =
        analysis::runPayoutBacktest(*combos, s->form.state().history, payouts, from.value_or(1), to.value_or(maxn));
    return emitLfText(ctx, analysis::formatPayoutBacktest(b));
}

}  // namespace kazuban::cli
