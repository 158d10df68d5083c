// kazuban-cli import and payout, run as a user runs them.
#include <gtest/gtest.h>

#include <string>

#include "platform/line_file.h"
#include "support/cli_run.h"
#include "support/history_gen.h"
#include "text/text.h"

namespace kazuban::cli {
namespace {

using testing::CliRun;
using testing::TempDir;

class CliImport : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeHistory(data, std::vector<testing::Draw>(draws.begin(), draws.begin() + 3));
        testing::writeMinimalEnvironment(data);
    }
    CliRun run(const std::string& args) { return testing::runCli(scratch, "", "--dir '" + data.str() + "' " + args); }
    // A bank file of draw n, each grade won once, with the prizes 1等..4等.
    std::string bank(int n, const std::string& prizes) {
        const auto& d = draws[static_cast<std::size_t>(n) - 1];
        auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
        std::string text = "A52\r\n第" + std::to_string(n) + "回ミニロト,数字選択式全国自治宝くじ,令和6年1月" +
                           std::to_string(n) + "日,東京\r\n本数字";
        for (int k = 0; k < 5; ++k) text += "," + two(d[k]);
        text += ",ボーナス数字," + two(d[5]) + "\r\n";
        const char* const grades[] = {"１等", "２等", "３等", "４等"};
        const auto p = text::Split(prizes, ',');
        for (int g = 0; g < 4; ++g) text += std::string(grades[g]) + ",1口," + p[g] + "円\r\n";
        const std::string name = "A10100" + std::to_string(n) + ".CSV";
        data.write(name, platform::encodeCp932(text));
        return "'" + data.file(name).string() + "'";
    }
    std::vector<testing::Draw> draws = testing::syntheticDraws(6, 4);
    TempDir data, scratch;
};

TEST_F(CliImport, ImportsThenPaysOutInYen) {
    // The combination is draw 4's main numbers: grade 1 in draw 4.
    const auto& d = draws[3];
    data.write("combos.txt", testing::makeComboText({d[0], d[1], d[2], d[3], d[4]}) + "\r\n");
    CliRun r = run("payout combos.txt");  // no atarikin.csv yet
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("combinations,1\ndraws,0\ndraws_without_payouts,3\ngrade")) << r.out;

    const std::string f4 = bank(4, "1000000,50000,1000,200"), f5 = bank(5, "2000000,60000,1500,300");
    r = run("import " + f4 + " " + f5);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "files,2\ndraws_read,2\nagreed,0\nadded,2\nadded_range,4-5\npayouts_added,2\n");
    EXPECT_EQ(r.err, "");
    r = run("import " + f5);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "files,1\ndraws_read,1\nagreed,1\nadded,0\npayouts_added,0\n");
    EXPECT_EQ(r.err, "新しい回はありません。\n");

    // Refused data is exit 1; missing files, a missing history and no file are exit 2; nothing is written.
    const std::string history = data.read("atarimgrp.txt"), payouts = data.read("atarikin.csv");
    r = run("import " + bank(5, "2000000,60000,1500,301"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(
        r.err.ends_with("A101005.CSV の 2 行目： 第5回の4等賞金が atarikin.csv と違います。（取り込むファイル: "
                        "301\u3000atarikin.csv: 300）\n"))
        << r.err;
    EXPECT_EQ(run("import '" + data.file("none.csv").string() + "'").status, 2);
    EXPECT_EQ(run("import").status, 2);
    EXPECT_EQ(testing::runCli(scratch, "", "--dir '" + scratch.str() + "' import " + f4).status, 2);
    EXPECT_EQ(data.read("atarimgrp.txt"), history);
    EXPECT_EQ(data.read("atarikin.csv"), payouts);

    r = run("payout combos.txt --from 2 --to 4");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "combinations,1\ndraws,1\ndraws_without_payouts,2\ngrade,wins,yen\n1,1,1000000\n2,0,0\n3,0,0\n4,0,0\n"
              "total,1,1000000\nspent,200\nreturn_percent,500000.00\n");
    for (const char* range : {"--from 0", "--to 6", "--from 3 --to 2"}) {
        r = run(std::string("payout combos.txt ") + range);
        EXPECT_EQ(r.status, 2) << range;
        EXPECT_EQ(r.out, "") << range;
    }
    data.write("atarikin.csv", "x\r\n");
    EXPECT_EQ(run("payout combos.txt").status, 1);
}

}  // namespace
}  // namespace kazuban::cli
