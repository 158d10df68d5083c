// kazuban-cli totals and predraw on the real history, against expected files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

using testing::golden;
using CliResult = testing::CliRun;

// Runs the CLI on a data folder holding the demo history and a five-line ini.
struct CliViews : ::testing::Test {
    TempDir data, scratch;
    void SetUp() override {
        testing::copyDemoHistory(data);
        testing::writeMinimalEnvironment(data);
    }
    CliResult run(const std::string& args) {
        return testing::runCli(scratch, "", "--dir '" + data.str() + "' " + args);
    }
    std::string combos() const { return "'" KAZUBAN_TESTDATA_DIR "/golden/combos200.txt'"; }
};

TEST_F(CliViews, TotalsMatchTheExpectedFiles) {
    for (const auto& [args, file] : std::vector<std::pair<std::string, std::string>>{
             {"", "totals.csv"}, {" --sort 7", "totals-sort7.csv"}, {" --sort 1", "totals-sort1.csv"}}) {
        const CliResult r = run("totals " + combos() + args);
        EXPECT_EQ(r.status, 0) << file;
        EXPECT_TRUE(r.out == golden(file)) << file;
    }
}

TEST_F(CliViews, PredrawMatchesTheExpectedFiles) {
    CliResult r = run("predraw");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out == golden("predraw.csv"));
    r = run("predraw --sort 8s");
    EXPECT_TRUE(r.out == golden("predraw-sort8s.csv"));
    // -o writes the print file's bytes: cp932 and the final CR LF.
    const std::string file = (scratch.path() / "tmptxt2.csv").string();
    r = run("predraw -o '" + file + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(scratch.read("tmptxt2.csv") == golden("tmptxt2-predraw.csv"));
    // Fewer than 51 draws: nothing.
    testing::prepareDataFolder(data, 50, 1);
    r = run("predraw");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace kazuban::cli
