// Runs the built kazuban-cli as a user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/form1.h"
#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

using testing::CliRun;
using testing::runCli;

TEST(Cli, HelpIsInJapaneseAndAlignedByDisplayWidth) {
    TempDir scratch;
    CliRun r = runCli(scratch, scratch.str(), "--help");
    EXPECT_EQ(r.status, 0);
    for (const char* part : {"使い方: kazuban-cli [オプション] コマンド\n", "\nオプション:\n", "\nコマンド:\n",
                             "  -h,--help                   この説明を表示します\n", "\n  stats  "})
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    // Two columns for each wide character: the descriptions start in one column.
    EXPECT_NE(r.out.find("\n  --dir 文字列" + std::string(16, ' ') + "データフォルダー"), std::string::npos) << r.out;
    r = runCli(scratch, scratch.str(), "totals --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("使い方: kazuban-cli totals [オプション] FILE\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n引数:\n  FILE 文字列 (必須)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n  --sort 整数 "), std::string::npos) << r.out;
    for (const char* english : {"Usage", "Options", "Subcommands", "Positionals", "REQUIRED", "TEXT", "Print this"})
        EXPECT_EQ(r.out.find(english), std::string::npos) << english;
}

// Each kind of usage error: exit 2, a Japanese sentence and where the help is.
TEST(Cli, UsageErrorsAreExplainedInJapanese) {
    TempDir scratch;
    const std::string commands =
        "（check totals predraw generate sortcombos stats analysis randomness adddraw odds backtest design import "
        "payout ledger popularity）";
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"", "コマンドを指定して下さい" + commands + "。"},
        {"nosuchcommand", "コマンド「nosuchcommand」はありません" + commands + "。"},
        {"totals", "FILE を指定して下さい。"},
        {"totals f.txt --sort 5", "--sort の値「5」は使えません。1, 2, 3, 4, 6, 7, 8, 9 のどれかを指定して下さい。"},
        {"totals f.txt --sort x", "--sort の値「x」は使えません。1, 2, 3, 4, 6, 7, 8, 9 のどれかを指定して下さい。"},
        {"predraw --sort 7x",
         "--sort の値「7x」は使えません。0s, 0k, 1s, 1k, 2s, 2k, 3s, 3k, 4s, 4k, 6s, 6k, 7s, "
         "7k, 8s, 8k, 9s, 9k のどれかを指定して下さい。"},
        {"generate 7", "N の値「7」は使えません。5, 10 のどれかを指定して下さい。"},
        {"backtest f --from abc", "--from の値「abc」は使えません。範囲内の整数を指定して下さい。"},
        {"payout f --to 99999999999", "--to の値「99999999999」は使えません。範囲内の整数を指定して下さい。"},
        {"check a b", "次の引数は使えません：b"},
        {"check a --bogus", "次の引数は使えません：--bogus"},
        {"--dir", "--dir の値を指定して下さい。"},
    };
    for (const auto& [args, sentence] : cases) {
        const CliRun r = runCli(scratch, scratch.str(), args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        const std::string command = std::string(args).substr(0, std::string(args).find(' '));
        const bool known = command == "totals" || command == "predraw" || command == "generate" ||
                           command == "backtest" || command == "payout" || command == "check";
        EXPECT_EQ(r.err,
                  sentence + "\n詳しくは kazuban-cli " + (known ? command + " " : "") + "--help で説明を見て下さい。\n")
            << args;
    }
}

TEST(Cli, MissingHistoryIsReportedOnStandardError) {
    TempDir scratch, data;
    const CliRun r = runCli(scratch, scratch.str(), "--dir '" + data.str() + "' stats");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, app::missingDataFileMessage("atarimgrp.txt", data.path()) + "\n");
}

TEST(Cli, StatsOnATinyHistory) {
    TempDir scratch, data;
    // No Kazuban.ini: the CLI does not need one.
    testing::writeHistory(data, std::vector<testing::Draw>(3, testing::Draw{1, 2, 3, 4, 5, 6}));
    CliRun r = runCli(scratch, data.str(), "stats");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(data.exists("Kazuban.ini"));
    const auto lines = text::splitLines(r.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[0].find("第1回～第3回"), std::string::npos);
    // Row 1 of the pair table: 1..6 three times each, the rest zero.
    EXPECT_EQ(lines[2].substr(0, 3 + 6 * 7), "  1     3     3     3     3     3     3     0");
    EXPECT_NE(r.out.find("   1    1:3"), std::string::npos);  // rank 1 of window 1
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");

    // The same result through -o, in cp932, from either side of the command.
    const std::string out1 = (scratch.path() / "a.txt").string();
    const std::string out2 = (scratch.path() / "b.txt").string();
    ASSERT_EQ(runCli(scratch, scratch.str(), "--dir '" + data.str() + "' stats -o '" + out1 + "'").status, 0);
    ASSERT_EQ(runCli(scratch, scratch.str(), "stats -o '" + out2 + "' --dir '" + data.str() + "'").status, 0);
    EXPECT_EQ(scratch.read("a.txt"), platform::encodeCp932(r.out));
    EXPECT_EQ(scratch.read("b.txt"), scratch.read("a.txt"));

    // An output file that cannot be written is a failure, not silence.
    r = runCli(scratch, data.str(), "stats -o '" + scratch.str() + "/no/such/folder/x.txt'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err, "");
}

}  // namespace
}  // namespace kazuban::cli
