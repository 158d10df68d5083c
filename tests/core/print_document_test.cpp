// What the print preview puts on paper for tabs 0, 1 and 4.
#include "output/print_document.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::output {
namespace {

using Row = std::vector<std::string>;

class PrintDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 120, 5);
        ASSERT_TRUE(form.Form_Load(dir.str()));
    }
    std::string combo(int draw) { return form.state().history.entry(draw).substr(0, 14); }
    testing::TempDir dir;
    testing::FakePlatform p;
    app::Form1 form{p};
};

TEST_F(PrintDocuments, TheTableGivesItsFilledRowsWithTheirEntriesAsShown) {
    form.combinationTable().setCell(2, 1, combo(100));
    form.combinationTable().setCell(5, 1, combo(110));
    form.Command5_Click();
    form.Command4_Click();  // entries newest first, as the user switched them
    form.pmnupreview_click();
    ASSERT_EQ(p.previews.size(), 1u);
    const PrintDocument& doc = p.previews[0];
    EXPECT_EQ(doc.title, "当 選 回 数");
    EXPECT_EQ(doc.drawLabel, "第120回まで");
    ASSERT_EQ(doc.columns.size(), 3u);
    EXPECT_EQ(doc.columns[1].header, "組合せデータ");
    EXPECT_EQ(doc.columns[1].widthTwips, 2190);
    EXPECT_TRUE(doc.columns[2].wraps && !doc.columns[1].wraps);
    ASSERT_EQ(doc.rows.size(), 2u);
    EXPECT_EQ(doc.rows[0][0], "2");
    EXPECT_EQ(doc.rows[1][1], combo(110));
    std::string shown;
    for (int c = 2; !form.combinationTable().cell(5, c).empty(); ++c)
        shown += (shown.empty() ? "" : " ") + form.combinationTable().cell(5, c);
    EXPECT_EQ(doc.rows[1][2], shown);
    EXPECT_EQ(doc.rows[1][2].substr(0, 6), "110=1 ");  // the newest first

    p.previews.clear();
    form.combinationTable().clearRange(1, 1, 1000, form.wins().winEntryLastColumn());
    form.pmnupreview_click();
    EXPECT_TRUE(p.previews.at(0).rows.empty());
}

TEST_F(PrintDocuments, TheViewsGiveEveryColumnOfTheRowsShownInTheirOrder) {
    for (int r = 1; r <= 3; ++r) form.combinationTable().setCell(r, 1, combo(100 + r));
    form.Command5_Click();
    form.SSTab1_Click(app::kTabTotals);
    form.psmnu2_click();  // by sum, highest first
    form.pmnupreview2_click();
    const PrintDocument& totals = p.previews.at(0);
    EXPECT_EQ(totals.title, "合計・奇数偶数・分布 等");
    ASSERT_EQ(totals.columns.size(), 10u);
    EXPECT_EQ(totals.columns[9].header, "５分割分布");
    EXPECT_EQ(totals.columns[9].widthTwips, 1590);
    ASSERT_EQ(totals.rows.size(), 3u);
    for (int r = 1; r <= 3; ++r) {
        Row expected;
        for (int c = 0; c < 10; ++c) expected.push_back(form.totals().grid().cell(r, c));
        EXPECT_EQ(totals.rows[static_cast<std::size_t>(r - 1)], expected);
    }

    form.SSTab1_Click(app::kTabPredraw);
    form.pmnupreview3_click();
    const PrintDocument& predraw = p.previews.at(1);
    EXPECT_EQ(predraw.title, "当選番号直前分析");
    EXPECT_EQ(predraw.columns[0].header, "回");
    ASSERT_EQ(predraw.rows.size(), 70u);  // draws 120 down to 51
    EXPECT_EQ(predraw.rows.front()[0], "120");
    EXPECT_EQ(predraw.rows.back()[0], "51");
}

}  // namespace
}  // namespace kazuban::output
