// kazuban-cli ledger add and ledger report, run as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ledger/ledger_file.h"
#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::TempDir;

std::string testData(const std::string& name) { return platform::readFileBytes(fs::path(KAZUBAN_TESTDATA_DIR) / name); }

// A new installation's folder that imported the real results of draws 1-1000.
class CliLedger : public ::testing::Test {
protected:
    void SetUp() override {
        data.writeLines("atarimgrp.txt", {std::string(testing::kHistoryHeader)});
        testing::writeMinimalEnvironment(data);
        data.write("results.csv", testData("results-1-1000.csv"));
        data.write("tickets12.txt", testData("golden/ledger/tickets12.txt"));
        ASSERT_EQ(run("import results.csv").status, 0);
    }
    CliRun run(const std::string& args) { return testing::runCli(scratch, "", "--dir '" + data.str() + "' " + args); }
    TempDir data, scratch;
};

TEST_F(CliLedger, AgreesWithTheIndependentLedgerAndReport) {
    CliRun r = run("ledger report --today 2019/10/15");  // no kounyu.csv: zero rows
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("rows,0\nunits,0\nspent,0\npending_rows,0\n")) << r.out;
    EXPECT_FALSE(data.exists("kounyu.csv"));

    r = run("ledger add tickets12.txt --draw 995 --draws 8 --units 2 --date 2018/10/01");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "added,96\ndraws,995-1002\ncost,38400\n");
    r = run("ledger add tickets12.txt --draw 1000 --draws 3 --date 2018/11/10 --memo '継続, \"3回\"'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "added,36\ndraws,1000-1002\ncost,7200\n");
    EXPECT_EQ(data.read("kounyu.csv"), testData("golden/ledger/kounyu.csv"));

    r = run("ledger report --today 2019/10/15");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, testData("golden/ledger/report-2019-10-15.txt"));

    // A range, and the day of a deadline itself: still claimable.
    r = run("ledger report --from 995 --to 995 --today 2019/10/09");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nunclaimed_yen,25338200\nexpired_yen,0\n"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.starts_with("rows,12\n")) << r.out;
}

TEST_F(CliLedger, RefusalsGiveTheirExitStatusAndWriteNothing) {
    ASSERT_EQ(run("ledger add tickets12.txt --draw 1001").status, 0);
    const std::string ledger = data.read("kounyu.csv");
    struct Case {
        const char* args;
        int status;
    };
    data.write("bad.txt", " 1, 2, 3, 4,32\r\n");
    data.write("repeated.txt", " 1, 2, 3, 4, 5\r\n03, 3,14,22,30\r\n");
    data.write("empty.txt", "\r\n");
    const Case cases[] = {
        {"ledger add tickets12.txt --draw 0", 2},
        {"ledger add tickets12.txt --draw 32767 --draws 2", 2},
        {"ledger add tickets12.txt --draw 1 --draws 11", 2},
        {"ledger add tickets12.txt --draw 1 --draws 0", 2},
        {"ledger add tickets12.txt --draw 1 --units 11", 2},
        {"ledger add tickets12.txt --draw 1 --units x", 2},
        {"ledger add tickets12.txt --draw 1 --date 2019/02/29", 2},
        {"ledger add tickets12.txt --draw 1 --date 2019/2/28", 2},
        {"ledger add empty.txt --draw 1", 2},
        {"ledger add missing.txt --draw 1", 2},
        {"ledger add tickets12.txt", 2},
        {"ledger add bad.txt --draw 1", 1},
        {"ledger add repeated.txt --draw 1", 1},
        {"ledger add tickets12.txt --draw 1 --memo '😀'", 2},
        {"ledger report --from 5 --to 4", 2},
        {"ledger report --from 0", 2},
        {"ledger report --to 32768", 2},
        {"ledger report --today 2019/13/01", 2},
        {"ledger", 2},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_NE(r.err, "") << c.args;
        EXPECT_EQ(data.read("kounyu.csv"), ledger) << c.args;
    }

    // A row that cannot be read: named by line and reason, exit 1, nothing written.
    const std::string bad = ledger + "1001,1,2,3,4,5,0,,,\r\n";
    data.write("kounyu.csv", bad);
    for (const char* args : {"ledger add tickets12.txt --draw 1001", "ledger report"}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.err.find("kounyu.csv の 14 行目: 口数「0」が 1～10 の整数ではありません。"), std::string::npos)
            << r.err;
        EXPECT_EQ(data.read("kounyu.csv"), bad);
    }
}

}  // namespace
}  // namespace kazuban::cli
