#include "app/design_page.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "analysis/odds.h"
#include "combos/combo_files.h"
#include "design/proof.h"
#include "platform/data_files.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {

namespace {

using analysis::groupedText;
using design::kDraws;
using design::kDrawsPerTicket;

std::string count(std::int64_t v) { return groupedText(v); }

std::string percentOf(double v) { return analysis::groupedDecimalText(v, 2) + "%"; }

}  // namespace

design::Request withPopularOption(design::Request r, const PopularOption& option) {
    auto prefer = std::make_shared<design::Preference>();
    const auto model = option.model;
    prefer->value = [model](design::Ticket t) { return model->expectedYen(t); };
    if (option.limit)
        prefer->usable = [model, limit = *option.limit](design::Ticket t) { return model->popularity(t) <= limit; };
    r.prefer = std::move(prefer);
    return r;
}

DesignRun runDesignWork(const design::Request& request, const design::ProgressFn& progress,
                        const std::atomic<bool>* cancel, const PopularOption* popular) {
    const design::Request r = popular ? withPopularOption(request, *popular) : request;
    DesignRun run{r, design::refusal(r).value_or(std::string()), {}, 0, std::nullopt};
    if (!run.refusal.empty()) return run;
    run.result = design::runDesign(r, progress, cancel);
    run.draws = r.mode == design::Mode::Wheel ? design::countCovered(design::kAllNumbers, 5, run.result.tickets)
                                              : run.result.covered;
    if (popular && !run.result.tickets.empty()) {
        DesignValue v;
        for (design::Ticket t : run.result.tickets) v.meanYen += popular->model->expectedYen(t);
        v.meanYen /= static_cast<double>(run.result.tickets.size());
        v.randomYen = analysis::meanExpectedYen(*popular->model);
        v.draws = popular->model->draws;
        v.lastDraw = popular->model->lastDraw;
        v.limit = popular->limit;
        run.value = v;
    }
    return run;
}

DesignTexts designTexts(const DesignRun& run) {
    const design::Result& r = run.result;
    const auto n = static_cast<std::int64_t>(r.tickets.size());
    const std::string ns = count(n);
    DesignTexts t;
    t.tickets = ns + " 口";
    const int p = run.request.atLeast.value_or(3);
    if (r.mode == design::Mode::Wheel && p == 3)
        t.tickets += "（この保証に要る口数の下限 " + count(design::schoenheimBound(r.numbers)) + " 口：Schönheim）";
    if (r.mode == design::Mode::Guarantee)
        t.tickets += "（すべての回の保証に要る口数の下限 " + count(design::guaranteeBound()) + " 口：Turán 数から）";

    t.covered = "当たる回　" + count(kDraws) + " 通りのうち " + count(run.draws) + " 通り（" +
                design::percentText(run.draws, kDraws) + "%）＝ 次の1回で 4等以上が 1 本以上当たる確率";
    const std::int64_t most = std::min(n * kDrawsPerTicket, kDraws);
    t.compare = "上限 " + design::percentText(most, kDraws) + "%（" + ns + " × " + count(kDrawsPerTicket) + " / " +
                count(kDraws) + "）　でたらめに選んだ " + ns + " 口の平均 " +
                percentOf(100 * design::randomCoverage(static_cast<int>(n)) / static_cast<double>(kDraws));
    t.expected =
        "どの " + ns + " 口を選んでも当選口数（4等以上）の期待値は " + ns + " × " + count(kDrawsPerTicket) + " / " +
        count(kDraws) + " ＝ " +
        analysis::groupedDecimalText(static_cast<double>(n * kDrawsPerTicket) / static_cast<double>(kDraws), 4) +
        " 口で変わらず、選び方で変わるのは 1 本以上当たる確率だけです。";

    const std::int64_t open = r.units - r.covered;
    if (r.mode == design::Mode::Guarantee) {
        t.guarantee = open == 0 ? "どの当選番号が出ても、必ず 4等以上が 1 本以上あります（" + count(kDraws) +
                                      " 通りをすべて数えて確認）。"
                                : "まだ 4等以上が当たらない回が " + count(open) + " 通り残っています。";
    } else if (r.mode == design::Mode::Wheel) {
        const std::string m = std::to_string(r.numbers), ps = std::to_string(p);
        t.guarantee = open == 0
                          ? "選んだ " + m + " 個の数字のうち " + ps +
                                " 個以上が当選番号に入れば、必ず 4等以上が 1 本以上あります（" + m + " 個から " + ps +
                                " 個を選ぶ " + count(r.units) + " 通りをすべて確認）。"
                          : "選んだ数字の " + ps + " 個の組のうち " + count(open) + " 通りがまだ保証されていません。";
    }
    if (run.value) {
        const DesignValue& v = *run.value;
        t.value = "期待払戻額（1口 200円あたり）　この " + ns + " 口の平均 " + analysis::centsYenText(v.meanYen) +
                  "　でたらめに選んだ組合せの平均 " + analysis::centsYenText(v.randomYen) + "（第" +
                  std::to_string(v.lastDraw) + "回までの " + count(v.draws) +
                  " 回の当選口数からの推定）。当たる確率は同じで、同じ数字を選んだ人が少ないほど当たったときの分け前が"
                  "増えます。";
        if (v.limit) t.value += "人気度 " + analysis::popularityText(*v.limit) + " を超える組合せは使っていません。";
    }
    if (r.cancelled)
        t.stopped = "途中で打ち切ったので、それまでに見つかった最良の組合せです（数字は数え直した値です）。";
    return t;
}

std::string designProgressText(design::Mode mode, const design::Progress& p) {
    if (mode == design::Mode::Best)
        return "これまでの最良　" + count(p.covered) + " / " + count(p.units) + " 通り（" +
               design::percentText(p.covered, p.units) + "%）";
    if (p.tickets > 0 && p.covered == p.units) return "これまでの最小　" + count(p.tickets) + " 口";
    return "探索中…";
}

void DesignPage::finish(DesignRun run) {
    problem_ = run.refusal;
    if (problem_.empty()) last_ = std::move(run);
    ++revision_;
}

// Both actions take the tickets in sight before their dialog opens: a search
// that ends while the dialog is up must not change what is sent or saved.
void DesignPage::sendToTable() {
    if (!haveTickets()) return;
    std::vector<std::string> lines;
    for (design::Ticket t : last_->result.tickets) lines.push_back(design::ticketText(t));
    const auto clear = wins_.askClearOrAppend();
    if (!clear) return;
    wins_.loadLines(lines, *clear);
}

std::optional<int> designBarPermille(design::Mode mode, const design::Progress* last, std::int64_t elapsedMs,
                                     std::int64_t limitMs) {
    if (last && last->planned > 0)
        return static_cast<int>(std::clamp<std::int64_t>(last->done * 1000 / last->planned, 0, 1000));
    if (mode == design::Mode::Best) return 0;  // its first report has not come yet
    if (limitMs > 0) return static_cast<int>(std::clamp<std::int64_t>(elapsedMs * 1000 / limitMs, 0, 999));
    return std::nullopt;
}

void DesignPage::save() {
    if (!haveTickets()) return;
    const design::Result shown = last_->result;
    const auto file = s_.platform.saveFileDialog(combos::comboFileDialog(s_.datadir, true));
    if (!file || file->empty()) return;
    try {
        platform::checkChosenTarget(*file, s_.dataFolders());
        design::saveTickets(*file, shown);
    } catch (const AppError& e) {
        // The old file stays whole; the answer is not kept, as after 保存.
        s_.platform.messageBox(e.text(), platform::Icon::None, platform::Buttons::Ok);
        return;
    }
    s_.recentFiles.add(*file);
    s_.status("組合せ設計の結果を保存しました：" + text::utf8FromPath(*file));
}

}  // namespace kazuban::app
