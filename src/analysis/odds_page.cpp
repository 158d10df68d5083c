#include "analysis/odds_page.h"

#include <algorithm>

namespace kazuban::analysis {

const char* const kOddsExplanation =
    "ミニロトでは、5個の数字のどの組合せも毎回同じ確率（1等は1/169,911）で当たり、過去の結果は次の回に影響しません。"
    "上の表は、組合せ表の組合せが次の1回で当たる確率と、多くの回を平均したときの払戻額で、次の回の予想ではありません。"
    "下の表は、選んだ範囲の過去の回で実際に当たった数を偶然だけで期待される数（±標準偏差）と比べたもので、"
    "|z| が2未満なら偶然の範囲内です。";

namespace {

// Progress of the two parts of the work on one scale: the odds, then the
// back-test over the draws.
constexpr int kOddsShare = 40;
constexpr int kScale = 100;

ProgressFn part(const ProgressFn& progress, int first, int last) {
    if (!progress) return {};
    return [progress, first, last](int done, int total) {
        progress(first + (last - first) * done / std::max(total, 1), kScale);
    };
}

void runBacktestPart(OddsPage& page, const history::DrawHistory& history, const ProgressFn& progress) {
    page.backtest = runBacktest(page.combos, page.odds, history, page.from, page.to, progress);
}

}  // namespace

SnapshotStatus refreshOddsPage(OddsPage& page, const std::vector<std::string>& texts,
                               const history::DrawHistory& history, const ProgressFn& progress) {
    page.maxn = std::max(history.maxn(), 0);
    if (page.to == 0 || !isValidRange(page.from, page.to, page.maxn)) {
        page.from = 1;
        page.to = page.maxn;
    } else if (page.to == page.rangeMaxn) {
        page.to = page.maxn;
    }
    page.rangeMaxn = page.maxn;
    ++page.revision;

    Snapshot snap = takeSnapshot(texts);
    page.message = snapshotMessage(snap);
    page.ready = snap.status == SnapshotStatus::Ok;
    page.combos = std::move(snap.combos);
    page.odds = {};
    page.backtest = {};
    if (!page.ready) return snap.status;
    page.odds = computeOdds(page.combos, part(progress, 0, kOddsShare));
    runBacktestPart(page, history, part(progress, kOddsShare, kScale));
    return snap.status;
}

bool setOddsRange(OddsPage& page, int from, int to, const history::DrawHistory& history, const ProgressFn& progress) {
    if (!isValidRange(from, to, std::max(history.maxn(), 0))) return false;
    page.from = from;
    page.to = to;
    page.rangeMaxn = history.maxn();
    ++page.revision;
    if (page.ready) runBacktestPart(page, history, progress);
    return true;
}

bool rangeReachesMadeRows(const OddsPage& page) { return page.ready && page.madeAt > 0 && page.from <= page.madeAt; }

std::string hindsightNote(const OddsPage& page) {
    if (!rangeReachesMadeRows(page)) return {};
    const std::string made = "第" + std::to_string(page.madeAt) + "回";
    return made + "までの当選番号を見て作れた組合せなので、この範囲でよく当たっていても予想の力とは言えません。";
}

bool rangeAfterMadeRows(const OddsPage& page, int& from, int& to) {
    if (page.madeAt < 1 || page.madeAt >= page.maxn) return false;
    from = page.madeAt + 1;
    to = page.maxn;
    return true;
}

bool setPrize(OddsPage& page, int grade, std::int64_t yen) {
    if (grade < 1 || grade > 4 || yen < 0 || yen > kMaxPrize) return false;
    page.prizes.yen[static_cast<std::size_t>(grade - 1)] = yen;
    ++page.revision;
    return true;
}

}  // namespace kazuban::analysis
