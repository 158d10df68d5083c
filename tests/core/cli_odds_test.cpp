// kazuban-cli odds and backtest, run as a user runs them.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <string>

#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::golden;
using testing::TempDir;

class CliOdds : public ::testing::Test {
protected:
    void SetUp() override {
        testing::copyDemoHistory(data);
        testing::writeMinimalEnvironment(data);
    }
    testing::CliRun run(const std::string& args) {
        return testing::runCli(scratch, "", "--dir '" + data.str() + "' " + args);
    }
    std::string combos200() const { return "'" KAZUBAN_TESTDATA_DIR "/golden/combos200.txt'"; }
    std::string file(const char* name, const std::vector<std::string>& lines) {
        return std::string("'").append(data.writeLines(name, lines).string()).append("'");
    }
    TempDir data, scratch;
};

TEST_F(CliOdds, RealHistoryMatchesTheExpectedFiles) {
    for (const auto& [args, expected] :
         std::vector<std::pair<std::string, std::string>>{{"odds " + combos200(), "odds.txt"},
                                                          {"backtest " + combos200(), "backtest.txt"},
                                                          {"backtest " + combos200() + " --from 1001 --to 1400",
                                                           "backtest-1001-1400.txt"}}) {
        const testing::CliRun r = run(args);
        EXPECT_EQ(r.status, 0) << expected << r.err;
        EXPECT_TRUE(r.out == golden(expected)) << expected << ":\n" << r.out;
    }
    // -o: the same text with CR LF line ends, written to the file only.
    const std::string out = (scratch.path() / "backtest.txt").string();
    const testing::CliRun r = run("backtest " + combos200() + " -o '" + out + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());
    std::string crlf;
    for (char c : golden("backtest.txt")) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(scratch.read("backtest.txt"), crlf);
}

TEST_F(CliOdds, OneCombinationOnASyntheticHistoryByHand) {
    // One combination wins grade 1 in 26 of the 4,417,686 outcomes, grade 2
    // in 130, grade 3 in 3,250 and grade 4 in 84,500; with one combination
    // the squares equal the sums.
    testing::prepareDataFolder(data, 2500, 5);
    const std::string combo = file("one.txt", {"14, 3,30, 9,22"});
    testing::CliRun r = run("odds " + combo);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "combinations,1\ngrade,outcomes,winning_outcomes,wins,wins_squared\n"
              "1,4417686,26,26,26\n2,4417686,130,130,130\n3,4417686,3250,3250,3250\n"
              "4,4417686,84500,84500,84500\nany,4417686,87906,87906,87906\n");

    const int from = 101, to = 2400;
    const std::uint32_t t = (1u << 3) | (1u << 9) | (1u << 14) | (1u << 22) | (1u << 30);
    long actual[5] = {};
    const auto draws = testing::syntheticDraws(2500, 5);
    for (int n = from; n <= to; ++n) {
        const testing::Draw& d = draws[static_cast<std::size_t>(n - 1)];
        const std::uint32_t m = (1u << d[0]) | (1u << d[1]) | (1u << d[2]) | (1u << d[3]) | (1u << d[4]);
        const int shared = std::popcount(t & m);
        const int g = shared == 5 ? 1 : shared == 4 ? ((t >> d[5]) & 1 ? 2 : 3) : shared == 3 ? 4 : 0;
        if (g > 0) ++actual[g - 1], ++actual[4];
    }
    std::string expected = "combinations,1\ndraws,2300\ngrade,actual,expected,sd,z\n";
    const double per[5] = {26, 130, 3250, 84500, 87906};
    for (int g = 0; g < 5; ++g) {
        const double p = per[g] / 4417686.0;
        const double sd = std::sqrt(2300 * (p - p * p));
        char line[128];
        std::snprintf(line, sizeof line, "%s,%ld,%.6f,%.6f,%.3f\n", g == 4 ? "any" : std::to_string(g + 1).c_str(),
                      actual[g], 2300 * p, sd, (static_cast<double>(actual[g]) - 2300 * p) / sd);
        expected += line;
    }
    r = run("backtest " + combo + " --from " + std::to_string(from) + " --to " + std::to_string(to));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
}

TEST_F(CliOdds, RefusedRowsAndRangesExitWithTheirStatus) {
    // A repeated value passes the table's rules but is refused here, naming its row.
    testing::CliRun r = run("odds " + file("rep.txt", {" 1, 2, 3, 4, 5", "03, 3,14,22,30"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(" データ番号 2 に、同じ数字が２回あります。"), std::string::npos) << r.err;
    r = run("backtest " + file("bad.txt", {" 1, 2, 3, 4,32"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" データ番号 1 に、入力ミスがあります。"), std::string::npos) << r.err;

    for (const char* range : {"--from 0", "--to 1401", "--from 900 --to 899", "--from 1401", "--to 0"}) {
        r = run("backtest " + combos200() + " " + range);
        EXPECT_EQ(r.status, 2) << range;
        EXPECT_TRUE(r.out.empty()) << range;
        EXPECT_NE(r.err.find("1 ≦ 開始 ≦ 終了 ≦ 1400"), std::string::npos) << range << r.err;
    }
    EXPECT_EQ(run("backtest " + combos200() + " --from x").status, 2);
    EXPECT_EQ(run("odds '" + (data.path() / "missing.txt").string() + "'").status, 2);

    // An empty file: no combinations, zero chances, no error.
    r = run("odds " + file("empty.txt", {}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "combinations,0");
    EXPECT_NE(r.out.find("any,4417686,0,0,0\n"), std::string::npos);
}

}  // namespace
}  // namespace kazuban::cli
