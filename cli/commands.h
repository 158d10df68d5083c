#pragma once
// kazuban-cli's commands. main.cpp parses the arguments (CLI11) and calls one
// of these; each returns the exit status (0 success, 1 data refused, 2 usage
// error or a missing or unreadable file).
#include <optional>
#include <string>
#include <vector>

namespace kazuban::cli {

struct Context {
    std::string dir;                 // --dir, default the current directory
    std::optional<std::string> out;  // -o OUTFILE
};

// Writes a result: to stdout in UTF-8, or with -o to OUTFILE as cp932 bytes
// exactly as the window's file would hold them, atomically. `text` is the
// file's text before the final CR LF. Returns the exit status.
int emitResult(const Context& ctx, const std::string& text, bool appendFinalCrLf = true);
// A report with LF line ends: standard output gets it as it is, -o the
// file's CR LF (and cp932).
int emitLfText(const Context& ctx, const std::string& text);

int runCheck(const Context& ctx, const std::string& file);
int runTotals(const Context& ctx, const std::string& file, std::optional<int> sortColumn);
int runPredraw(const Context& ctx, std::optional<std::string> sortKey);
int runGenerate(const Context& ctx, int n, std::optional<unsigned long long> seed);
int runSortCombos(const Context& ctx, const std::string& file);
int runStats(const Context& ctx);
// analysis [--last N]: the history's statistics beside their expectations.
int runAnalysis(const Context& ctx, const std::optional<std::string>& last);
// randomness [--last N]: the tests of the history against chance.
int runRandomness(const Context& ctx, const std::optional<std::string>& last);
// adddraw N1,N2,N3,N4,N5,B: appends the next draw to atarimgrp.txt.
int runAddDraw(const Context& ctx, const std::string& numbers);
// odds FILE: the exact odds of the file's combinations in the next draw.
int runOdds(const Context& ctx, const std::string& file);
// backtest FILE [--from A] [--to B]: their wins over past draws against chance.
int runBacktest(const Context& ctx, const std::string& file, std::optional<int> from, std::optional<int> to);
// import FILE...: merges results files into atarimgrp.txt and atarikin.csv.
int runImport(const Context& ctx, const std::vector<std::string>& files);
// payout FILE [--from A] [--to B]: their wins over past draws in yen.
int runPayout(const Context& ctx, const std::string& file, std::optional<int> from, std::optional<int> to);
// popularity FILE [--to N]: how many others hold the combinations, and their
// worth in yen, from the winner counts of draws 1..N.
int runPopularity(const Context& ctx, const std::string& file, std::optional<int> to);

// ledger add FILE --draw N [--draws K] [--units U] [--date D] [--memo M] and
// ledger report [--from A] [--to B] [--today D]: the tickets bought
// (kounyu.csv). Options are kept as given and checked by the command.
struct LedgerAddArgs {
    std::string file;
    std::optional<std::string> draw, draws, units, date, memo;
};
int runLedgerAdd(const Context& ctx, const LedgerAddArgs& args);
struct LedgerReportArgs {
    std::optional<std::string> from, to, today;
};
int runLedgerReport(const Context& ctx, const LedgerReportArgs& args);

// design: tickets chosen by the draws they cover. Every option is kept as
// given (nullopt when absent) and checked by the command.
struct DesignArgs {
    std::optional<std::string> tickets, numbers, exclude, sum, odd, atLeast, seed, effort, save;
    bool guarantee = false;
};
int runDesign(const Context& ctx, const DesignArgs& args);

}  // namespace kazuban::cli
