#include <gtest/gtest.h>

#include <algorithm>

#include "app/form1.h"
#include "combos/sorting.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

class Tab0 : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 150, 9);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    grid::TextGrid& g() { return form.combinationTable(); }
    std::string combo(int draw) { return form.state().history.entry(draw).substr(0, 14); }
    std::vector<std::string> entries(int r) {
        std::vector<std::string> out;
        for (int c = 2; !g().cell(r, c).empty(); ++c) out.push_back(g().cell(r, c));
        return out;
    }
    testing::TempDir dir;
    testing::FakePlatform p;
    app::Form1 form{p};
};

TEST(SortNumbers, FieldsAreOrderedByValue) {
    EXPECT_EQ(sortNumbersInText(" 5,31,12, 3,20"), " 3, 5,12,20,31");
    EXPECT_EQ(sortNumbersInText("05,31,12, 3,20"), " 3,05,12,20,31");
    EXPECT_EQ(sortNumbersInText("10,20,30,4,5"), "10,20,30");  // fields holding a comma drop out
    EXPECT_EQ(sortNumbersInText(" 5,31,12, 3,\r"), " 3, 5,12,31");
}

TEST_F(Tab0, CheckRefusesAnEmptyOrInvalidTable) {
    const std::string before = form.frame().Label1();
    g().setCell(1, 1, combo(10));
    g().setCell(2, 1, "bad");
    g().setCell(1, 2, "1=4");
    form.Command5_Click();
    EXPECT_EQ(g().cell(1, 2), "");
    EXPECT_EQ(form.frame().Label1(), before);
    g().setCell(2, 1, "");
    form.Command5_Click();
    const auto won = entries(1);
    EXPECT_NE(std::find(won.begin(), won.end(), "10=1"), won.end());
    EXPECT_EQ(form.frame().Label3()[0], "150");
    EXPECT_EQ(p.busyDepth, 0);
}

TEST_F(Tab0, SortOrdersInsideAndAcrossRowsThenEvaluates) {
    g().setCell(5, 1, "20,21,22,23,24");
    g().setCell(9, 1, " 5,31,12, 3,20");
    g().setCell(700, 1, "20,21,22,23,24");
    g().setCell(700, 4, "stale");
    form.Command3_Click();
    EXPECT_EQ(g().cell(1, 1), " 3, 5,12,20,31");
    EXPECT_EQ(g().cell(2, 1), "20,21,22,23,24");
    EXPECT_EQ(g().cell(3, 1), "20,21,22,23,24");
    EXPECT_EQ(entries(2), entries(3));
    for (int r = 1; r <= 1000; ++r) ASSERT_EQ(g().cell(r, 0), std::to_string(r));
    for (int r = 4; r <= 1000; ++r) ASSERT_EQ(g().storedCells(r), 1) << r;
    EXPECT_EQ(form.frame().Label3()[0], "150");

    // A full table whose short text sorts first: the shift overwrites it.
    g().setCell(1, 1, " 1,");
    for (int r = 2; r <= 1000; ++r) g().setCell(r, 1, "20,21,22,23,24");
    sortCombinationRows(g());
    EXPECT_EQ(g().cell(1, 1), "20,21,22,23,24");
    EXPECT_EQ(g().cell(1000, 1), "");

    // Nothing but short texts: the count reaches row 1000 and nothing moves.
    for (int r = 1; r <= 1000; ++r) g().setCell(r, 1, "");
    g().setCell(4, 1, " 1, 2");
    sortCombinationRows(g());
    EXPECT_EQ(g().cell(1000, 1), " 1, 2");
    EXPECT_EQ(g().cell(1, 1), "");
}

TEST_F(Tab0, SwitchTwiceRestoresTheOrder) {
    g().setCell(1, 1, combo(150));
    g().setCell(3, 1, "30,31, 1, 2, 3");
    form.Command5_Click();
    const auto before1 = entries(1), before3 = entries(3);
    ASSERT_GT(before1.size(), 1u);
    form.Command4_Click();
    EXPECT_TRUE(std::equal(before1.rbegin(), before1.rend(), entries(1).begin()));
    form.Command4_Click();
    EXPECT_EQ(entries(1), before1);
    EXPECT_EQ(entries(3), before3);
    EXPECT_EQ(g().storedCells(2), 1);
}

TEST_F(Tab0, AllClearAsksFirstAndEmptiesTheViews) {
    for (int r = 1; r <= 5; ++r) g().setCell(r, 1, combo(r));
    form.Command5_Click();
    form.SSTab1_Click(app::kTabMarkSheet);
    form.MSFlexGrid3_Click();  // the first five rows on the sheets, with their rates
    form.SSTab1_Click(app::kTabWins);
    ASSERT_NE(form.markSheet().controls().Text4[1], "");
    const std::string wins = form.markSheet().controls().Text2[1];
    ASSERT_NE(wins, "");
    p.answers = {platform::kCancel, platform::kOk};
    form.Command6_Click();
    EXPECT_EQ(p.messages.at(0).text, "全ﾃﾞｰﾀを消去しますか？\r\n");
    EXPECT_EQ(p.messages.at(0).buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(g().cell(1, 1), combo(1));
    form.Command6_Click();
    EXPECT_EQ(g().storedCells(1), 1);
    EXPECT_EQ(g().cell(0, 1), "組合せデータ");
    EXPECT_EQ(form.totals().grid().cell(0, 1), "");
    EXPECT_EQ(form.markSheet().figure(2).cell(0, 0), "");
    EXPECT_EQ(form.markSheet().list().cell(1, 1), "");
    EXPECT_EQ(form.markSheet().controls().Text4[1], "");
    EXPECT_EQ(form.markSheet().controls().Text2[1], wins);  // tiers 3 and 4 stay
}

TEST_F(Tab0, DrawSelectorShowsAnyDrawAndFollowsTheFile) {
    g().setCell(1, 1, combo(1));
    form.Command5_Click();
    form.HScroll1_Change(150);  // right end: draw 1
    EXPECT_EQ(form.frame().Label3()[0], "1");
    EXPECT_EQ(form.frame().Label3()[1], " 1");
    EXPECT_EQ(form.frame().Label1(), "第1回:" + form.state().history.entry(1));
    testing::writeSyntheticHistory(dir, 160, 9);
    form.HScroll1_Change(1);  // left end: the latest draw, reloaded
    EXPECT_EQ(form.frame().HScroll1().max, 160);
    EXPECT_EQ(form.frame().Label3()[0], "160");
    testing::writeSyntheticHistory(dir, 30, 9);
    form.HScroll1_Change(160);  // past the end of a file that shrank
    EXPECT_EQ(form.frame().Label3()[0], "1");
}

// Equal values keep the order they had: inside a combination ("03" before
// " 3") and between rows (the first of two equal texts stays first, with its
// own win entries).
TEST(SortNumbers, EqualValuesKeepTheirOrder) {
    EXPECT_EQ(sortNumbersInText("30,03, 3, 9,14"), "03, 3, 9,14,30");
    EXPECT_EQ(sortNumbersInText("30, 3,03, 9,14"), " 3,03, 9,14,30");
    grid::TextGrid t(1001, 4);
    for (int r = 1; r <= 1000; ++r) t.setCell(r, 1, r % 2 ? "20,21,22,23,24" : " 1, 2, 3, 4, 5");
    for (int r = 1; r <= 1000; ++r) t.setCell(r, 2, std::to_string(r) + "=4");
    sortCombinationRows(t);
    for (int r = 2; r <= 500; ++r) {
        ASSERT_EQ(t.cell(r, 1), " 1, 2, 3, 4, 5");
        ASSERT_LT(std::stoi(t.cell(r - 1, 2)), std::stoi(t.cell(r, 2))) << r;
        ASSERT_LT(std::stoi(t.cell(r + 499, 2)), std::stoi(t.cell(r + 500, 2))) << r;
    }
}

}  // namespace
}  // namespace kazuban::combos
