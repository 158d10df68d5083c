// kazuban-cli: the program's analyses without a window.
//   kazuban-cli [--dir DIR] COMMAND [ARGS] [-o OUTFILE]
// --dir and -o may stand before or after the command.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "platform/system.h"
#include "text/path_text.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;
using kazuban::cli::Context;

// --dir and -o, accepted on the program and on each command; a value given
// after the command wins.
struct CommonOptions {
    std::string dir;
    std::string out;
    CLI::Option* dirOption = nullptr;
    CLI::Option* outOption = nullptr;

    void addTo(CLI::App& app) {
        dirOption =
            app.add_option("--dir", dir,
                           "データフォルダー (atarimgrp.txt と Kazuban.ini のあるフォルダー)。既定は現在のフォルダー");
        outOption =
            app.add_option("-o,--output", out, "結果をこのファイルに書く (cp932、CR LF)。なければ標準出力 (UTF-8)");
    }
};

using kazuban::text::pathFromUtf8;
using kazuban::text::utf8FromPath;

// An input file named relative to the current folder; when it is not there,
// the data folder is tried too.
std::string resolveInput(const std::string& file, const Context& ctx) {
    const fs::path p = pathFromUtf8(file);
    std::error_code ec;
    if (p.is_absolute() || fs::exists(p, ec) || ctx.dir.empty()) return file;
    const fs::path inDir = pathFromUtf8(ctx.dir) / p;
    return fs::exists(inDir, ec) ? utf8FromPath(inDir) : file;
}

}  // namespace

int main(int argc, char** argv) {
    kazuban::platform::useBinaryStandardOutput();
    CLI::App app{"Kazuban (ミニロト) の分析をウィンドウなしで実行します。", "kazuban-cli"};
    kazuban::cli::useJapanese(app);  // before the commands, which take it over
    app.require_subcommand(1);

    CommonOptions top;
    top.addTo(app);

    struct Command {
        CLI::App* app;
        CommonOptions common;
    };
    std::deque<Command> commands;  // each command's options point into its element
    auto addCommand = [&](const char* name, const char* description) -> CLI::App* {
        CLI::App* sub = app.add_subcommand(name, description);
        kazuban::cli::japaneseHelpFlag(*sub);
        commands.push_back({sub, {}});
        commands.back().common.addTo(*sub);
        return sub;
    };

    std::string file;
    int totalsSort = 0;
    std::string predrawSort;
    int generateCount = 0;
    std::string seed;

    CLI::App* check =
        addCommand("check", "組合せファイルを読み込んで当選を確認し、組合せ表を印刷ファイルの形で出力します");
    check->add_option("FILE", file, "組合せファイル")->required();

    CLI::App* totals = addCommand("totals", "組合せファイルの合計・奇数偶数・分布の表を出力します");
    totals->add_option("FILE", file, "組合せファイル")->required();
    CLI::Option* totalsSortOption =
        totals->add_option("--sort", totalsSort, "並べ替え: 1 組合せ順、2 3 4 6 7 8 9 その列の降順")
            ->check(kazuban::cli::oneOf({"1", "2", "3", "4", "6", "7", "8", "9"}));

    CLI::App* predraw = addCommand("predraw", "当選番号直前分析の表を出力します (51回以上の履歴が必要)");
    CLI::Option* predrawSortOption =
        predraw->add_option("--sort", predrawSort, "並べ替え: 列 (0-4, 6-9) と s 昇順 / k 降順、例 7k")
            ->check(kazuban::cli::oneOf({"0s", "0k", "1s", "1k", "2s", "2k", "3s", "3k", "4s", "4k", "6s", "6k", "7s",
                                         "7k", "8s", "8k", "9s", "9k"}));

    CLI::App* generate = addCommand("generate", "簡易データを N 個 (5 または 10) 作成して出力します");
    generate->add_option("N", generateCount, "作成する個数 (5 または 10)")
        ->required()
        ->check(kazuban::cli::oneOf({"5", "10"}));
    CLI::Option* seedOption = generate->add_option("--seed", seed, "乱数の種 (同じ種なら同じ結果)");

    CLI::App* sortcombos = addCommand("sortcombos", "組合せファイルを読み込み、データ整列をして組合せ表を出力します");
    sortcombos->add_option("FILE", file, "組合せファイル")->required();

    CLI::App* stats = addCommand("stats", "ペア出現回数の表と直近3区間の出現順位を出力します");

    std::string last;
    CLI::App* analysis =
        addCommand("analysis", "当選番号の統計 (出現回数・奇数偶数・合計など) を理論上の期待値と並べて出力します");
    CLI::Option* lastOption = analysis->add_option("--last", last, "直近 N 回だけを集計する (既定は全回)");

    std::string randomnessLast;
    CLI::App* randomness =
        addCommand("randomness",
                   "当選番号の偏りが偶然の範囲内かを8つの検定 (カイ二乗と1万回の模擬抽せん) で調べて出力します");
    CLI::Option* randomnessLastOption =
        randomness->add_option("--last", randomnessLast, "直近 N 回だけを検定する (既定は全回)");

    std::string drawNumbers;
    CLI::App* adddraw = addCommand("adddraw", "次の回の当選番号を atarimgrp.txt に追加します");
    adddraw->add_option("NUMBERS", drawNumbers, "本数字5個とボーナス数字 (例 2,9,13,22,30,17)")->required();

    CLI::App* odds =
        addCommand("odds", "組合せファイルの組合せが次の1回で当たる確率 (全 4,417,686 通りの数え上げ) を出力します");
    odds->add_option("FILE", file, "組合せファイル")->required();

    int backtestFrom = 0, backtestTo = 0;
    CLI::App* backtest =
        addCommand("backtest", "組合せファイルの組合せの過去の当選数を、偶然で期待される数と比べて出力します");
    backtest->add_option("FILE", file, "組合せファイル")->required();
    CLI::Option* fromOption = backtest->add_option("--from", backtestFrom, "最初の回 (既定 1)");
    CLI::Option* toOption = backtest->add_option("--to", backtestTo, "最後の回 (既定 最新の回)");

    kazuban::cli::DesignArgs designArgs;
    CLI::App* design =
        addCommand("design",
                   "当選番号を多く含む組合せ (3個以上一致で4等以上) を設計し、含む当選番号の数を数えて出力します");
    design->add_option("--tickets", designArgs.tickets,
                       "N 口の組合せで、含む当選番号ができるだけ多いものを選ぶ (1-1000)");
    design->add_flag("--guarantee", designArgs.guarantee,
                     "どの当選番号でも4等以上が当たる組合せを、できるだけ少なく選ぶ");
    design->add_option("--numbers", designArgs.numbers,
                       "この数字だけを使う (例 1,5,9,12)。--guarantee と一緒なら選んだ数字での保証");
    design->add_option("--exclude", designArgs.exclude, "この数字を使わない (例 4,13)");
    design->add_option("--sum", designArgs.sum, "組合せの合計の範囲 (例 60-90)");
    design->add_option("--odd", designArgs.odd, "組合せの奇数の個数の範囲 (例 2-3)");
    design->add_option("--if", designArgs.atLeast,
                       "選んだ数字のうち P 個 (3, 4, 5) 以上が当選番号に入れば保証する (既定 3)");
    design->add_option("--seed", designArgs.seed, "乱数の種 (既定 1、同じ指定なら同じ結果)");
    design->add_option("--effort", designArgs.effort, "探す量 (既定 1、大きいほど長く探す)");
    design->add_option("--save", designArgs.save, "組合せだけを組合せファイルに書く (cp932、CR LF)");
    std::vector<std::string> importFiles;
    CLI::App* importCommand =
        addCommand("import", "公開されている当選番号のファイルを atarimgrp.txt と atarikin.csv に取り込みます");
    importCommand
        ->add_option("FILE", importFiles, "取り込むファイル (全回の CSV、みずほ銀行の回別 CSV、draw,date,n1..n5,bonus)")
        ->required();

    int payoutFrom = 0, payoutTo = 0;
    CLI::App* payout =
        addCommand("payout",
                   "組合せファイルの組合せが過去の回で当たった金額を、実際の払戻金 (atarikin.csv) で出力します");
    payout->add_option("FILE", file, "組合せファイル")->required();
    CLI::Option* payoutFromOption = payout->add_option("--from", payoutFrom, "最初の回 (既定 1)");
    CLI::Option* payoutToOption = payout->add_option("--to", payoutTo, "最後の回 (既定 最新の回)");

    CLI::App* ledger = addCommand("ledger", "購入記録 (kounyu.csv) に買った組合せを追加し、当せんと金額を出力します");
    ledger->require_subcommand(1);
    auto addLedgerCommand = [&](const char* name, const char* description) -> CLI::App* {
        CLI::App* sub = ledger->add_subcommand(name, description);
        commands.push_back({sub, {}});
        commands.back().common.addTo(*sub);
        return sub;
    };
    kazuban::cli::LedgerAddArgs ledgerAddArgs;
    CLI::App* ledgerAdd = addLedgerCommand("add", "組合せファイルの組合せを、回ごとに購入記録へ追加します");
    ledgerAdd->add_option("FILE", ledgerAddArgs.file, "組合せファイル")->required();
    ledgerAdd->add_option("--draw", ledgerAddArgs.draw, "最初の回")->required();
    ledgerAdd->add_option("--draws", ledgerAddArgs.draws, "継続する回数 (1-10、既定 1)");
    ledgerAdd->add_option("--units", ledgerAddArgs.units, "1組あたりの口数 (1-10、既定 1)");
    ledgerAdd->add_option("--date", ledgerAddArgs.date, "購入日 YYYY/MM/DD (既定 今日)");
    ledgerAdd->add_option("--memo", ledgerAddArgs.memo, "メモ");
    kazuban::cli::LedgerReportArgs ledgerReportArgs;
    CLI::App* ledgerReport = addLedgerCommand("report", "購入記録の当せんと金額、支払期限を出力します");
    ledgerReport->add_option("--from", ledgerReportArgs.from, "最初の回 (既定 1)");
    ledgerReport->add_option("--to", ledgerReportArgs.to, "最後の回 (既定 32767)");
    ledgerReport->add_option("--today", ledgerReportArgs.today, "支払期限を測る日 YYYY/MM/DD (既定 今日)");
    int popularityTo = 0;
    CLI::App* popularity =
        addCommand("popularity",
                   "組合せファイルの組合せを他に何口の人が選んでいるか (人気度) と、当たったときの推定額を出力します");
    popularity->add_option("FILE", file, "組合せファイル")->required();
    CLI::Option* popularityToOption =
        popularity->add_option("--to", popularityTo, "この回までの当選口数で推定する (既定 最新の回)");

    try {
        // Texts such as a memo reach the commands as UTF-8 on every system.
        std::vector<std::string> args = kazuban::platform::utf8Arguments(argc, argv);
        std::vector<const char*> pointers;
        for (const std::string& a : args) pointers.push_back(a.c_str());
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);  // prints help or the usage error
        return code == 0 ? 0 : 2;
    }

    Context ctx;
    ctx.dir = top.dir;
    if (top.outOption->count() > 0) ctx.out = top.out;
    for (const Command& c : commands) {
        if (!c.app->parsed()) continue;
        if (c.common.dirOption->count() > 0) ctx.dir = c.common.dir;
        if (c.common.outOption->count() > 0) ctx.out = c.common.out;
    }
    if (ctx.dir.empty()) ctx.dir = utf8FromPath(kazuban::platform::currentFolder());

    using namespace kazuban::cli;
    if (check->parsed()) return runCheck(ctx, resolveInput(file, ctx));
    if (totals->parsed())
        return runTotals(ctx, resolveInput(file, ctx),
                         totalsSortOption->count() > 0 ? std::optional<int>(totalsSort) : std::nullopt);
    if (predraw->parsed())
        return runPredraw(ctx, predrawSortOption->count() > 0 ? std::optional<std::string>(predrawSort) : std::nullopt);
    if (generate->parsed()) {
        std::optional<unsigned long long> seedValue;
        if (seedOption->count() > 0 && !(seedValue = parseSeed(seed))) {
            std::fprintf(stderr, "%s\n", kSeedRange);
            return 2;
        }
        return runGenerate(ctx, generateCount, seedValue);
    }
    if (sortcombos->parsed()) return runSortCombos(ctx, resolveInput(file, ctx));
    if (stats->parsed()) return runStats(ctx);
    if (analysis->parsed())
        return runAnalysis(ctx, lastOption->count() > 0 ? std::optional<std::string>(last) : std::nullopt);
    if (randomness->parsed())
        return runRandomness(ctx, randomnessLastOption->count() > 0 ? std::optional<std::string>(randomnessLast)
                                                                    : std::nullopt);
    if (adddraw->parsed()) return runAddDraw(ctx, drawNumbers);
    if (odds->parsed()) return runOdds(ctx, resolveInput(file, ctx));
    if (backtest->parsed())
        return runBacktest(ctx, resolveInput(file, ctx),
                           fromOption->count() > 0 ? std::optional<int>(backtestFrom) : std::nullopt,
                           toOption->count() > 0 ? std::optional<int>(backtestTo) : std::nullopt);
    if (design->parsed()) return runDesign(ctx, designArgs);
    if (importCommand->parsed()) {
        for (std::string& f : importFiles) f = resolveInput(f, ctx);
        return runImport(ctx, importFiles);
    }
    if (payout->parsed())
        return runPayout(ctx, resolveInput(file, ctx),
                         payoutFromOption->count() > 0 ? std::optional<int>(payoutFrom) : std::nullopt,
                         payoutToOption->count() > 0 ? std::optional<int>(payoutTo) : std::nullopt);
    if (ledgerAdd->parsed()) {
        ledgerAddArgs.file = resolveInput(ledgerAddArgs.file, ctx);
        return runLedgerAdd(ctx, ledgerAddArgs);
    }
    if (ledgerReport->parsed()) return runLedgerReport(ctx, ledgerReportArgs);
    if (popularity->parsed())
        return runPopularity(ctx, resolveInput(file, ctx),
                             popularityToOption->count() > 0 ? std::optional<int>(popularityTo) : std::nullopt);
    return 2;
}
