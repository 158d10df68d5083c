// Runs the built kazuban-cli as a user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

using testing::CliRun;
using testing::runCli;

TEST(Cli, HelpAndUsageErrors) {
    TempDir scratch;
    CliRun r = runCli(scratch, scratch.str(), "--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("stats"), std::string::npos);
    EXPECT_EQ(runCli(scratch, scratch.str(), "totals --help").status, 0);
    for (const char* args : {"", "nosuchcommand", "totals f.txt --sort 5", "predraw --sort 7x", "generate 7"})
        EXPECT_EQ(runCli(scratch, scratch.str(), args).status, 2) << args;
}

TEST(Cli, MissingHistoryIsReportedOnStandardError) {
    TempDir scratch, data;
    const CliRun r = runCli(scratch, scratch.str(), "--dir '" + data.str() + "' stats");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("atarimgrp.txt ﾌｧｲﾙを Kazuban.exe と同じﾌｫﾙﾀﾞｰに置いて下さい"), std::string::npos);
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
