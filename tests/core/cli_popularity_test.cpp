// kazuban-cli popularity, run as a user runs it: the form on the published
// winner counts, and the refusals that write nothing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

class CliPopularity : public ::testing::Test {
protected:
    void SetUp() override {
        testing::copyDemoHistory(data);
        testing::writeMinimalEnvironment(data);
        combos = "'" + data.writeLines("combos.txt", {" 6,12,18,24,30", "", "30,24,18, 1, 2"}).string() + "'";
    }
    testing::CliRun run(const std::string& args) {
        return testing::runCli(scratch, "", "--dir '" + data.str() + "' " + args);
    }
    void importPublished() { ASSERT_EQ(run("import '" KAZUBAN_TESTDATA_DIR "/results-1-1000.csv'").status, 0); }
    std::string out() const { return (scratch.path() / "out.txt").string(); }
    TempDir data, scratch;
    std::string combos;
};

TEST_F(CliPopularity, PrintsEveryRowOfTheTableInTheForm) {
    importPublished();
    testing::CliRun r = run("popularity " + combos + " --to 1000");
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "draws_fitted,1000");
    std::getline(lines, line);
    EXPECT_EQ(line, "row,n1,n2,n3,n4,n5,popularity,neighbours,prize1,expected_yen");
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("1,6,12,18,24,30,", 0), 0u) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("3,1,2,18,24,30,", 0), 0u) << line;  // the empty row 2 is no line
    EXPECT_FALSE(std::getline(lines, line));
    // Up to the last draw (the default) the same draws are fitted; the
    // figures are those of the draw after the last one.
    r = run("popularity " + combos);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("draws_fitted,1000\n", 0), 0u);
}

TEST_F(CliPopularity, RefusalsSayWhyAndWriteNothing) {
    const std::string o = " -o '" + out() + "'";
    // No atarikin.csv.
    testing::CliRun r = run("popularity " + combos + o);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("atarikin.csv がありません"), std::string::npos) << r.err;
    importPublished();
    // Fewer than 200 draws with all four counts.
    r = run("popularity " + combos + " --to 199" + o);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("200 回以上必要です（いまは 199 回）"), std::string::npos) << r.err;
    // N outside 1..maxn is a usage error.
    for (const char* to : {"0", "1401"}) {
        r = run("popularity " + combos + " --to " + to + o);
        EXPECT_EQ(r.status, 2) << to;
        EXPECT_NE(r.err.find("1400"), std::string::npos) << r.err;
    }
    // A row that names a number twice, as odds refuses it.
    const std::string twice = "'" + data.writeLines("twice.txt", {" 3, 3,14,22,30"}).string() + "'";
    EXPECT_EQ(run("popularity " + twice + o).status, 1);
    EXPECT_FALSE(std::filesystem::exists(out()));
    // With -o the same text in CR LF.
    ASSERT_EQ(run("popularity " + combos + o).status, 0);
    EXPECT_EQ(scratch.read("out.txt").rfind("draws_fitted,1000\r\nrow,", 0), 0u);
}

}  // namespace
}  // namespace kazuban::cli
