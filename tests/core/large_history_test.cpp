// The largest history the program takes, 32,767 draws (the largest draw
// number a 16-bit draw field holds), through everything a user does with it;
// one draw more is refused when the file is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>

#include "app/form1.h"
#include "history/draw_history.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/text.h"

namespace kazuban::app {
namespace {

using testing::FakePlatform;
using testing::TempDir;

constexpr int kLargest = history::kMaxDraws;

// Win entries of one combination by the rule itself: matches of the five
// main fields, then the bonus for four.
std::vector<std::string> entriesByRule(const Form1& f, const std::string& combo) {
    std::vector<std::string> out;
    for (int d = 1; d <= f.state().maxn; ++d) {
        const std::string& t = f.state().history.entry(d);
        int matches = 0;
        for (int j = 0; j < 5; ++j) matches += combo.find(t.substr(3 * j, 2)) != std::string::npos;
        if (matches < 3) continue;
        const bool bonus = combo.find(t.substr(15, 2)) != std::string::npos;
        const int grade = matches == 5 ? 1 : matches == 4 ? (bonus ? 2 : 3) : 4;
        out.push_back(std::to_string(d) + "=" + std::to_string(grade));
    }
    return out;
}

std::vector<std::string> entriesInRow(const Form1& f, int r) {
    std::vector<std::string> out;
    for (int c = 2; c < f.combinationTable().cols() && !f.combinationTable().cell(r, c).empty(); ++c)
        out.push_back(f.combinationTable().cell(r, c));
    return out;
}

TEST(LargestHistory, WorksEverywhereAndOneDrawMoreIsRefused) {
    const auto t0 = std::chrono::steady_clock::now();
    TempDir dir;
    testing::prepareDataFolder(dir, kLargest, 21);
    FakePlatform fake;
    Form1 f(fake);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    EXPECT_EQ(f.state().maxn, kLargest);
    EXPECT_EQ(f.combinationTable().cols(), kLargest / 10 + 21);
    EXPECT_EQ(f.combinationTable().cell(0, kLargest / 10 + 20), std::to_string(kLargest / 10 + 19));

    // 1000 combinations, each the main numbers of a draw spread over the history.
    for (int r = 1; r <= 1000; ++r) f.combinationTable().setCell(r, 1, f.state().history.entry(r * 32).substr(0, 14));
    f.Command5_Click();
    EXPECT_TRUE(fake.messages.empty());
    for (int r : {1, 500, 1000}) {
        const auto expected = entriesByRule(f, f.combinationTable().cell(r, 1));
        EXPECT_EQ(entriesInRow(f, r), expected) << r;
        EXPECT_NE(std::find(expected.begin(), expected.end(), std::to_string(r * 32) + "=1"), expected.end());
    }
    EXPECT_EQ(f.frame().Label3()[0], std::to_string(kLargest));
    EXPECT_EQ(f.combinationTable().fontSize(), 9.0);

    // The draw selector at both ends.
    f.HScroll1_Change(1);
    EXPECT_EQ(f.frame().HScroll1().max, kLargest);
    EXPECT_EQ(f.frame().Label1(), "第32767回:" + f.state().history.entry(kLargest));
    f.HScroll1_Change(kLargest);
    EXPECT_EQ(f.frame().Label3()[0], "1");
    EXPECT_EQ(f.frame().Label1(), "第1回:" + f.state().history.entry(1));

    // Tabs 1, 2 and 4.
    f.SSTab1_Click(kTabTotals);
    EXPECT_EQ(f.totals().grid().cell(1000, 3), std::to_string(entriesInRow(f, 1000).size()));
    f.SSTab1_Click(kTabMarkSheet);
    f.markSheet().list().setRow(1000);
    f.MSFlexGrid3_Click();
    EXPECT_EQ(f.markSheet().controls().Text2[4], f.totals().grid().cell(1000, 3));
    f.SSTab1_Click(kTabPredraw);
    EXPECT_EQ(f.predraw().chg(), 1);
    ASSERT_EQ(f.predraw().grid().rows(), kLargest - 49);
    EXPECT_EQ(f.predraw().grid().cell(1, 0), std::to_string(kLargest));
    EXPECT_EQ(f.predraw().grid().cell(kLargest - 50, 0), "51");
    EXPECT_FALSE(f.predraw().grid().cell(1, 9).empty());

    // Printing: the table's 1000 records and every pre-draw row.
    f.pmnuprt_click();
    f.pmnuprt2_click();
    EXPECT_EQ(dir.read("tmptxt2.csv").substr(0, 5), platform::encodeCp932("\"組合"));
    f.pmnuprt3_click();
    const std::string table = dir.read("tmptxt.csv");
    const std::string predraw = dir.read("tmptxt2.csv");
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1001);  // 1000 records and the final CR LF
    EXPECT_EQ(std::count(predraw.begin(), predraw.end(), '\n'), kLargest - 50 + 1 + 1);
    EXPECT_TRUE(fake.messages.empty());

    // One more draw added while the program runs: the reload is refused, the
    // program keeps its 32,767 draws.
    std::ofstream(dir.file("atarimgrp.txt"), std::ios::binary | std::ios::app) << "第32768回= 1, 2, 3, 4, 5, 6\r\n";
    f.HScroll1_Change(f.frame().HScroll1().value);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "atarimgrp.txt の当選番号が多すぎます。扱えるのは第32767回までです。");
    EXPECT_EQ(f.state().maxn, kLargest);
    EXPECT_FALSE(f.closeRequested());

    // And at start-up the same file is refused with the same message.
    FakePlatform fake2;
    Form1 g(fake2);
    EXPECT_FALSE(g.Form_Load(dir.str()));
    EXPECT_EQ(fake2.messageTexts(), fake.messageTexts());

    RecordProperty("seconds",
                   std::to_string(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count()));
}

}  // namespace
}  // namespace kazuban::app
