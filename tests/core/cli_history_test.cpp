// analysis and adddraw through the built kazuban-cli.
#include <gtest/gtest.h>

#include <string>

#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::CliRun;
using testing::runCli;
using testing::TempDir;

std::string withCrLf(const std::string& lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

TEST(CliAnalysis, PrintsTheRealHistorysFiguresByteForByte) {
    TempDir scratch, data;
    testing::copyDemoHistory(data);
    CliRun r = runCli(scratch, data.str(), "analysis");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, testing::golden("analysis.txt"));
    EXPECT_EQ(r.err, "");
    r = runCli(scratch, scratch.str(), "--dir '" + data.str() + "' analysis --last 100");
    EXPECT_EQ(r.out, testing::golden("analysis-last100.txt"));

    const std::string out = (scratch.path() / "a.txt").string();
    ASSERT_EQ(runCli(scratch, data.str(), "analysis --last 100 -o '" + out + "'").status, 0);
    EXPECT_EQ(scratch.read("a.txt"), withCrLf(testing::golden("analysis-last100.txt")));
}

TEST(CliAnalysis, WindowLargerThanTheHistoryAndBadWindows) {
    TempDir scratch, data;
    testing::writeSyntheticHistory(data, 40, 9);
    const CliRun all = runCli(scratch, data.str(), "analysis");
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out.substr(0, 9), "draws,40\n");
    EXPECT_EQ(runCli(scratch, data.str(), "analysis --last 41").out, all.out);
    EXPECT_EQ(runCli(scratch, data.str(), "analysis --last 99999999999999999999").out, all.out);
    EXPECT_EQ(runCli(scratch, data.str(), "analysis --last 10").out.substr(0, 9), "draws,10\n");
    for (const char* bad : {"0", "-3", "x", "1.5"}) {
        const CliRun r = runCli(scratch, data.str(), std::string("analysis --last ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
        EXPECT_NE(r.err.find("--last"), std::string::npos) << bad;
    }
    EXPECT_EQ(runCli(scratch, scratch.str(), "analysis").status, 2);  // no atarimgrp.txt
}

TEST(CliAddDraw, AppendsOneLineOrRefusesWithoutTouchingTheFile) {
    TempDir scratch, data;
    testing::writeSyntheticHistory(data, 5, 2);
    const std::string before = data.read("atarimgrp.txt");
    for (const char* bad : {"1,2,3,4,5", "1,2,3,4,5,6,7", "1,2,x,4,5,6", "1,2,3x,4,5,6", "0,2,3,4,5,6", "1,2,3,4,5,32",
                            "1,2,3,4,5,5", "1,2,3,4,4,6"}) {
        const CliRun r = runCli(scratch, data.str(), std::string("adddraw ") + bad);
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_NE(r.err, "") << bad;
        EXPECT_EQ(data.read("atarimgrp.txt"), before) << bad;
    }
    CliRun r = runCli(scratch, data.str(), "adddraw 30,22,9,13,2,17");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "第6回= 2, 9,13,22,30,17\n");
    EXPECT_EQ(data.read("atarimgrp.txt"), before + platform::encodeCp932("第6回= 2, 9,13,22,30,17\r\n"));

    data.write("atarimgrp.txt", "");
    r = runCli(scratch, data.str(), "adddraw 1,2,3,4,5,6");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(data.read("atarimgrp.txt"), "");

    r = runCli(scratch, scratch.str(), "adddraw 1,2,3,4,5,6");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("atarimgrp.txt ﾌｧｲﾙを"), std::string::npos);
    EXPECT_FALSE(scratch.exists("atarimgrp.txt"));
}

}  // namespace
}  // namespace kazuban::cli
