// ledger add and ledger report: the tickets the player bought (kounyu.csv),
// checked against the history.
#include <cstdio>
#include <optional>
#include <string>

#include "analysis/combination_values.h"
#include "commands.h"
#include "ledger/checking.h"
#include "ledger/ledger_file.h"
#include "ledger/purchase.h"
#include "session.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::cli {

namespace {

void printError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

// A whole number written in plain digits; nullopt for anything else.
std::optional<long long> wholeNumber(const std::optional<std::string>& s) {
    if (!s || s->empty() || s->size() > 9 || s->find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(*s);
}

// The ledger of the data folder; nullopt (with the message printed and the
// exit status in *code) when it cannot be read or holds a row that cannot.
std::optional<ledger::LedgerFile> readLedger(const Context& ctx, int* code) {
    ledger::LedgerFile file(text::pathFromUtf8(ctx.dir) / ledger::kLedgerFileName);
    try {
        file.read();
    } catch (const AppError& e) {
        printError(e.text());
        *code = 2;
        return std::nullopt;
    }
    if (file.readOnly()) {
        printError(ledger::problemsMessage(file.problems()));
        *code = 1;
        return std::nullopt;
    }
    return file;
}

}  // namespace

int runLedgerAdd(const Context& ctx, const LedgerAddArgs& args) {
    ledger::Purchase p;
    const auto draw = wholeNumber(args.draw);
    const auto draws = args.draws ? wholeNumber(args.draws) : std::optional<long long>(1);
    const auto units = args.units ? wholeNumber(args.units) : std::optional<long long>(1);
    std::string refusal;
    if (!draw || *draw < 1 || *draw > ledger::kMaxDraw) refusal = ledger::kBadDrawMessage;
    else if (!draws || *draws < 1 || *draws > ledger::kMaxDraws) refusal = ledger::kBadDrawsMessage;
    else if (*draw + *draws - 1 > ledger::kMaxDraw) refusal = ledger::kBadDrawMessage;
    else if (!units || *units < 1 || *units > ledger::kMaxUnits) refusal = ledger::kBadUnitsMessage;
    if (refusal.empty() && args.date) {
        if (const auto day = ledger::parseExactDay(*args.date)) p.date = *day;
        else refusal = ledger::kBadDateMessage;
    } else if (refusal.empty()) {
        p.date = ledger::systemToday();
    }
    if (refusal.empty() && args.memo) {
        p.memo = *args.memo;
        try {
            ledger::checkMemo(p.memo);
        } catch (const AppError&) {
            printError(ledger::kBadMemoMessage);
            return 2;  // an argument the file cannot hold, as a bad date
        }
    }
    if (!refusal.empty()) {
        printError(refusal);
        return 2;
    }
    p.firstDraw = static_cast<int>(*draw);
    p.draws = static_cast<int>(*draws);
    p.units = static_cast<int>(*units);

    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    if ((code = loadCombinationFile(*s, args.file)) != 0) return code;
    std::vector<std::string> texts;
    for (int r = 1; r <= 1000; ++r) texts.push_back(s->form.combinationTable().cell(r, 1));
    const analysis::Snapshot snap = analysis::takeSnapshot(texts);
    if (snap.status != analysis::SnapshotStatus::Ok) {
        s->platform.messageBox(analysis::snapshotMessage(snap), platform::Icon::Critical, platform::Buttons::Ok);
        return 1;
    }
    for (analysis::ComboMask m : snap.combos) p.combos.push_back(ledger::numbersOf(m));
    if (p.combos.empty()) {
        printError(ledger::kNoComboMessage);
        return 2;
    }
    auto file = readLedger(ctx, &code);
    if (!file) return code;
    std::vector<ledger::Row> rows = file->rows();
    const std::vector<ledger::Row> added = ledger::purchaseRows(p);
    rows.insert(rows.end(), added.begin(), added.end());
    try {
        file->write(rows);
    } catch (const AppError& e) {
        printError(e.text());
        return e.code() == kInvalidCall ? 1 : 2;
    }
    return emitLfText(ctx, "added," + std::to_string(added.size()) + "\ndraws," + std::to_string(p.firstDraw) + "-" +
                               std::to_string(p.firstDraw + p.draws - 1) + "\ncost," +
                               std::to_string(ledger::purchaseCost(p)) + "\n");
}

int runLedgerReport(const Context& ctx, const LedgerReportArgs& args) {
    const auto from = args.from ? wholeNumber(args.from) : std::optional<long long>(1);
    const auto to = args.to ? wholeNumber(args.to) : std::optional<long long>(ledger::kMaxDraw);
    if (!from || !to || *from < 1 || *from > *to || *to > ledger::kMaxDraw) {
        printError("--from と --to は 1 ≦ A ≦ B ≦ 32767 で指定して下さい。");
        return 2;
    }
    int today = ledger::systemToday();
    if (args.today) {
        const auto day = ledger::parseExactDay(*args.today);
        if (!day) {
            printError("--today は YYYY/MM/DD の形の正しい日付で指定して下さい。");
            return 2;
        }
        today = *day;
    }
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    auto file = readLedger(ctx, &code);
    if (!file) return code;
    const app::State& st = s->form.state();
    const auto checked = ledger::checkRows(file->rows(), st.history, st.payouts);
    return emitLfText(ctx, ledger::formatReport(file->rows(), checked, static_cast<int>(*from), static_cast<int>(*to),
                                                today));
}

}  // namespace kazuban::cli
