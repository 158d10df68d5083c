// kazuban-cli check, sortcombos and generate, run as a user runs them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/history_gen.h"
#include "text/line_file.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace kazuban::cli {
namespace {

using testing::TempDir;

struct CliResult {
    int status = -1;
    std::string out, err;
};

CliResult cli(const TempDir& scratch, const std::string& args) {
    const std::string out = (scratch.path() / "stdout.txt").string();
    const std::string err = (scratch.path() / "stderr.txt").string();
    const std::string cmd = "'" KAZUBAN_CLI_PATH "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(cmd.c_str());
    CliResult r;
#ifdef _WIN32
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    r.out = scratch.read("stdout.txt");
    r.err = scratch.read("stderr.txt");
    return r;
}

std::string golden(const std::string& name) {
    return text::readFileBytes(std::filesystem::path(KAZUBAN_TESTDATA_DIR) / "golden" / name);
}

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
    const CliResult r = cli(scratch, dirArg() + "check " + combos200());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == golden("check.csv")) << "standard output differs from check.csv";

    const std::string out = (scratch.path() / "tmptxt.csv").string();
    ASSERT_EQ(cli(scratch, dirArg() + "check " + combos200() + " -o '" + out + "'").status, 0);
    EXPECT_TRUE(scratch.read("tmptxt.csv") == golden("tmptxt.csv")) << "print file differs from tmptxt.csv";
}

TEST_F(CliCombos, RefusedDataExitsWithOne) {
    data.writeLines("bad.txt", {" 1, 2, 3, 4, 5", "3,9,14,22,30"});
    const CliResult r = cli(scratch, dirArg() + "sortcombos '" + data.file("bad.txt").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(" データ番号 2 に、入力ミスがあります。"), std::string::npos) << r.err;
}

TEST_F(CliCombos, GenerateIsRepeatableWithASeed) {
    const CliResult a = cli(scratch, dirArg() + "generate 10 --seed 99");
    const CliResult b = cli(scratch, dirArg() + "generate 10 --seed 99");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    ASSERT_EQ(a.out.size(), 10u * 16u);   // ten texts, each ended by CR LF

    TempDir shortHistory;
    testing::prepareDataFolder(shortHistory, 15, 1);
    const CliResult r = cli(scratch, "--dir '" + shortHistory.str() + "' generate 5");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace kazuban::cli
