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

    TempDir shortHistory;
    testing::prepareDataFolder(shortHistory, 15, 1);
    const testing::CliRun r = cli(scratch, "--dir '" + shortHistory.str() + "' generate 5");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace kazuban::cli
