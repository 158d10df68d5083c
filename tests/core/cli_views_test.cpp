// kazuban-cli totals and predraw on the real history, against expected files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/history_gen.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace kazuban::cli {
namespace {

using testing::TempDir;

std::string golden(const std::string& name) {
    std::ifstream in(std::string(KAZUBAN_TESTDATA_DIR) + "/golden/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CliResult {
    int status = -1;
    std::string out;
};

// Runs the CLI on a data folder holding the demo history and a five-line ini.
struct CliViews : ::testing::Test {
    TempDir data, scratch;
    void SetUp() override {
        testing::copyDemoHistory(data);
        testing::writeMinimalEnvironment(data);
    }
    CliResult run(const std::string& args) {
        const std::string out = (scratch.path() / "stdout.txt").string();
        const std::string cmd = "'" KAZUBAN_CLI_PATH "' --dir '" + data.str() + "' " + args + " >'" + out + "' 2>/dev/null";
        const int raw = std::system(cmd.c_str());
        CliResult r;
#ifdef _WIN32
        r.status = raw;
#else
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        r.out = scratch.read("stdout.txt");
        return r;
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
