#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban {
namespace {

using testing::FakePlatform;
using testing::TempDir;

struct MarkSheetFixture : ::testing::Test {
    TempDir dir;
    FakePlatform platform;
    app::Form1 form{platform};

    void SetUp() override {
        testing::prepareDataFolder(dir, 200, 3);
        ASSERT_TRUE(form.Form_Load(dir.str()));
    }
    void enter(int tab) { form.SSTab1_Click(tab); }
    void click(int row) {
        form.markSheet().list().setRow(row);
        form.MSFlexGrid3_Click();
    }
    int marks(int k) const {
        int n = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 5; ++x) n += form.markSheet().figure(k).cell(y, x) == "■";
        return n;
    }
};

TEST_F(MarkSheetFixture, ClickMarksFiveRowsWithTheTotalsViewsTiers) {
    form.combinationTable().setCell(3, 1, " 1, 9,10,21,31");
    form.combinationTable().setCell(4, 1, " 2, 4, 6, 8,30");
    form.combinationTable().setCell(6, 1, "11,12,13,14,15");
    form.wins().recalculateCombinationTable();
    form.combinationTable().setCell(7, 1, "11,12");  // short: marked, no rates
    enter(app::kTabMarkSheet);
    EXPECT_EQ(form.markSheet().controls().caption[0], "ﾃﾞｰﾀ番号: xxx");
    EXPECT_EQ(marks(0), 0);  // entering never marks

    click(3);
    EXPECT_EQ(form.markSheet().controls().caption[0], "ﾃﾞｰﾀ番号: 3");
    EXPECT_EQ(form.markSheet().controls().caption[4], "ﾃﾞｰﾀ番号: 7");
    EXPECT_EQ(form.markSheet().list().rowSel(), 7);
    // " 1" marks 1 only, not the "1" of 21 or 31.
    const auto& fig = form.markSheet().figure(0);
    EXPECT_EQ(fig.cell(0, 0) + fig.cell(8, 0) + fig.cell(9, 0) + fig.cell(0, 2) + fig.cell(0, 3), "■■■■■");
    EXPECT_EQ(fig.cell(1, 0) + fig.cell(1, 3), " 2×");
    EXPECT_EQ(marks(0), 5);
    EXPECT_EQ(marks(1), 5);
    EXPECT_EQ(marks(2), 0);  // empty row: plain layout
    EXPECT_EQ(marks(4), 2);

    // Tiers 1 to 4 are the totals view's columns 7, 8, 3 and 4.
    enter(app::kTabTotals);
    const grid::TextGrid totals = form.totals().grid();
    enter(app::kTabMarkSheet);
    click(3);
    for (int k : {0, 1, 3}) {
        EXPECT_EQ(form.markSheet().controls().Text4[k], totals.cell(3 + k, 7)) << k;
        EXPECT_EQ(form.markSheet().controls().Text5[k], totals.cell(3 + k, 8)) << k;
        EXPECT_EQ(form.markSheet().controls().Text2[k], totals.cell(3 + k, 3)) << k;
        EXPECT_EQ(form.markSheet().controls().Text3[k], totals.cell(3 + k, 4)) << k;
    }
    for (int k : {2, 4})
        EXPECT_EQ(form.markSheet().controls().Text4[k] + form.markSheet().controls().Text5[k] +
                      form.markSheet().controls().Text2[k] + form.markSheet().controls().Text3[k],
                  "00");

    // A new click first removes the old marks.
    click(5);
    EXPECT_EQ(marks(0), 0);
    EXPECT_EQ(marks(1), 5);
}

TEST_F(MarkSheetFixture, ClicksNearTheEndOrAboveTheListShowTheLastFiveRows) {
    form.combinationTable().setCell(1000, 1, " 5, 6, 7, 8, 9");
    form.wins().recalculateCombinationTable();
    enter(app::kTabMarkSheet);
    for (int row : {997, 1000, 0, -3}) {
        click(row);
        EXPECT_EQ(form.markSheet().list().row(), 996);
        EXPECT_EQ(form.markSheet().controls().caption[0], "ﾃﾞｰﾀ番号: 996");
        EXPECT_EQ(form.markSheet().controls().caption[4], "ﾃﾞｰﾀ番号: 1000");
        EXPECT_EQ(marks(4), 5);
    }
    click(995);
    EXPECT_EQ(form.markSheet().controls().caption[0], "ﾃﾞｰﾀ番号: 995");
}

TEST_F(MarkSheetFixture, EnteringWithAnEmptyTableKeepsListCaptionsAndRates) {
    form.combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
    form.wins().recalculateCombinationTable();
    enter(app::kTabMarkSheet);
    click(1);
    const auto before = form.markSheet().controls();
    form.combinationTable().setCell(1, 1, "");
    enter(app::kTabMarkSheet);
    EXPECT_EQ(form.markSheet().list().cell(1, 1), " 1, 2, 3, 4, 5");
    EXPECT_EQ(form.markSheet().controls().caption, before.caption);
    EXPECT_EQ(form.markSheet().controls().Text4, before.Text4);
    EXPECT_EQ(form.markSheet().controls().Text5, before.Text5);
    EXPECT_EQ(form.markSheet().controls().Text2[0] + form.markSheet().controls().Text3[0],
              "");  // tiers 3 and 4 always emptied
    EXPECT_EQ(marks(0), 0);
    // With a combination again, entering empties every tier and copies the list.
    form.combinationTable().setCell(2, 1, "10,11,12,13,14");
    enter(app::kTabMarkSheet);
    EXPECT_EQ(form.markSheet().controls().Text4[0], "");
    EXPECT_EQ(form.markSheet().list().cell(1, 1), "");
    EXPECT_EQ(form.markSheet().list().cell(2, 1), "10,11,12,13,14");
}

}  // namespace
}  // namespace kazuban
