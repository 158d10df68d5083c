#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "views/predraw.h"

namespace kazuban {
namespace {

using testing::FakePlatform;
using testing::TempDir;

struct TabSwitch : ::testing::Test {
    TempDir dir;
    FakePlatform platform;
    app::Form1 form{platform};
    void SetUp() override {
        testing::prepareDataFolder(dir, 120, 21);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        int r = 1;
        for (const auto& d : testing::syntheticDraws(30, 5))
            form.combinationTable().setCell(r++, 1, testing::makeComboText({d[0], d[1], d[2], d[3], d[4]}));
        form.wins().recalculateCombinationTable();
    }
    void select(int tab) { form.SSTab1_Click(tab); }
};

TEST_F(TabSwitch, TabZeroOnlyEmptiesThePredrawTable) {
    select(app::kTabPredraw);
    EXPECT_GT(form.predraw().scratchDraws(), 0u);
    const auto r2 = form.totals().grid().revision();
    const auto r3 = form.markSheet().list().revision();
    const auto r5 = form.predraw().grid().revision();
    select(app::kTabWins);
    EXPECT_EQ(form.predraw().scratchDraws(), 0u);
    EXPECT_EQ(form.totals().grid().revision(), r2);
    EXPECT_EQ(form.markSheet().list().revision(), r3);
    EXPECT_EQ(form.predraw().grid().revision(), r5);
}

TEST_F(TabSwitch, TotalsAreRebuiltInTheOrderASortWroteBack) {
    select(app::kTabTotals);
    form.totals().pbsort(3);
    std::vector<std::string> order;
    for (int r = 1; r <= 30; ++r) order.push_back(form.totals().grid().cell(r, 1));
    // Spoil a score: the next entry recomputes it.
    form.totals().grid().setCell(1, 3, "x");
    select(app::kTabWins);
    select(app::kTabTotals);
    for (int r = 1; r <= 30; ++r) ASSERT_EQ(form.totals().grid().cell(r, 1), order[r - 1]);
    EXPECT_NE(form.totals().grid().cell(1, 3), "x");
    EXPECT_GE(std::stoi(form.totals().grid().cell(1, 3)), std::stoi(form.totals().grid().cell(30, 3)));
}

TEST_F(TabSwitch, PredrawIsComputedOnceAndKeepsTheUsersOrder) {
    const int before = platform.progressShows;
    select(app::kTabPredraw);
    EXPECT_EQ(form.predraw().chg(), 1);
    EXPECT_EQ(platform.progressShows, before + 1);
    form.ptsmnuSort(2, true);
    const std::string first = form.predraw().grid().cell(1, 0);
    select(app::kTabTotals);
    const int shows = platform.progressShows;
    select(app::kTabPredraw);
    EXPECT_EQ(platform.progressShows, shows);
    EXPECT_EQ(form.predraw().grid().cell(1, 0), first);
    EXPECT_EQ(form.predraw().grid().rows(), 71);
}

TEST_F(TabSwitch, LinksTabReturnsToBrowsing) {
    form.Text1_Change(0, "A=http://a.example/");
    form.Option1_Click(0);
    ASSERT_TRUE(form.links().controls().Text1Visible[0]);
    select(app::kTabLinks);
    EXPECT_EQ(form.links().controls().Command1Caption[0], "Go! A");
    EXPECT_FALSE(form.links().controls().Text1Visible[0]);
}

}  // namespace
}  // namespace kazuban
