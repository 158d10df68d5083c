// kazuban-cli check, sortcombos and generate, run as a user runs them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

using testing::golden;

testing::CliRun cli(const TempDir& scratch, const std::string& args) { return testing::runCli(scratch, "", args); }

class CliCombos : public ::testing::Test {
protected:
    void SetUp() override {
        testing::copyDemoHistory(data);
        testing::writeMinimalEnvironment(data);
    }
    std::string dirArg() const { return "--dir '" + data.str() + "' "; }
    std::string combos200() const { return "'" KAZUBAN_TESTDATA_DIR "/golden/combos200.txt'"; }
    TempDir data, scratch;
};

TEST_F(CliCombos, CheckMatchesTheExpectedTableAndPrintFile) {
    const testing::CliRun r = cli(scratch, dirArg() + "check " + combos200());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == golden("check.csv")) << "standard output differs from check.csv";

    const std::string out = (scratch.path() / "tmptxt.csv").string();
    ASSERT_EQ(cli(scratch, dirArg() + "check " + combos200() + " -o '" + out + "'").status, 0);
    EXPECT_TRUE(scratch.read("tmptxt.csv") == golden("tmptxt.csv")) << "print file differs from tmptxt.csv";
}

// The table holds 1000 rows: a longer file gives its first 1000 lines, as
// the window does, and says so on standard error; the output is that of the
// first 1000 lines alone.
TEST_F(CliCombos, AFileOfMoreThan1000LinesIsCheckedOnItsFirst1000) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1003; ++i) lines.push_back(i % 2 ? " 1, 2, 3, 4, 5" : " 6,17,18,22,31");
    lines[1001] = "  ";  // a blank line is not counted
    data.writeLines("long.txt", lines);
    data.writeLines("first.txt", std::vector<std::string>(lines.begin(), lines.begin() + 1000));
    for (const char* command : {"check", "odds"}) {
        const testing::CliRun longer = cli(scratch, dirArg() + command + " '" + data.file("long.txt").string() + "'");
        const testing::CliRun first = cli(scratch, dirArg() + command + " '" + data.file("first.txt").string() + "'");
        EXPECT_EQ(longer.status, 0) << command;
        EXPECT_EQ(longer.err, "1000 行を超えた 2 行は読み込みませんでした。\n") << command;
        EXPECT_EQ(first.err, "") << command;
        EXPECT_TRUE(longer.out == first.out) << command;
    }
}

TEST_F(CliCombos, RefusedDataExitsWithOne) {
    data.writeLines("bad.txt", {" 1, 2, 3, 4, 5", "3,9,14,22,30"});
    const testing::CliRun r = cli(scratch, dirArg() + "sortcombos '" + data.file("bad.txt").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(" データ番号 2 に、入力ミスがあります。"), std::string::npos) << r.err;
}

TEST_F(CliCombos, GenerateIsRepeatableWithASeed) {
    const testing::CliRun a = cli(scratch, dirArg() + "generate 10 --seed 99");
    const testing::CliRun b = cli(scratch, dirArg() + "generate 10 --seed 99");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    ASSERT_EQ(a.out.size(), 10u * 16u);  // ten texts, each ended by CR LF
    EXPECT_EQ(cli(scratch, dirArg() + "generate 10 --seed 0099").out, a.out);
    EXPECT_EQ(cli(scratch, dirArg() + "generate 10 --seed 18446744073709551615").status, 0);

    // A seed is a whole number of 64 bits: anything else is refused before the data are read.
    for (const char* seed : {"-1", "18446744073709551616", "99999999999999999999999", "1e3", "0x10", "' 5'", "''"}) {
        const testing::CliRun r = cli(scratch, dirArg() + "generate 10 --seed " + seed);
        EXPECT_EQ(r.status, 2) << seed;
        EXPECT_EQ(r.err, "--seed は 0 から 18446744073709551615 までの整数です。\n") << seed;
        EXPECT_TRUE(r.out.empty()) << seed;
    }

    TempDir shortHistory;
    testing::prepareDataFolder(shortHistory, 15, 1);
    const testing::CliRun r = cli(scratch, "--dir '" + shortHistory.str() + "' generate 5");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace kazuban::cli
