#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/form1.h"
#include "combos/evaluation.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban {
namespace {

using testing::FakePlatform;
using testing::TempDir;

// A started Form1 on a synthetic history of 300 draws.
struct TotalsFixture : ::testing::Test {
    TempDir dir;
    FakePlatform platform;
    app::Form1 form{platform};

    void SetUp() override {
        testing::prepareDataFolder(dir, 300, 7);
        ASSERT_TRUE(form.Form_Load(dir.str()));
    }
    // Combination texts from draws of another seed, so that some win.
    std::vector<std::string> combos(int n) {
        std::vector<std::string> out;
        for (const auto& d : testing::syntheticDraws(n, 99))
            out.push_back(testing::makeComboText({d[0], d[1], d[2], d[3], d[4]}));
        return out;
    }
    void fill(const std::map<int, std::string>& rows) {
        for (const auto& [r, c] : rows) form.combinationTable().setCell(r, 1, c);
        form.wins().recalculateCombinationTable();
    }
    void enterTab() { form.SSTab1_Click(app::kTabTotals); }
    const grid::TextGrid& view() const { return form.totals().grid(); }
};

TEST_F(TotalsFixture, EmptyTableShowsHeadersAndRowNumbersOnly) {
    enterTab();
    EXPECT_EQ(view().rows(), 1001);
    EXPECT_EQ(view().cell(0, 6) + view().cell(0, 9), "奇:偶５分割分布");
    for (int r = 1; r <= 1000; ++r) {
        ASSERT_EQ(view().cell(r, 0), std::to_string(r));
        for (int c = 1; c <= 9; ++c) ASSERT_EQ(view().cell(r, c), "");
    }
    EXPECT_EQ(platform.progressShows, 0);
    EXPECT_EQ(view().col(), 1);
    EXPECT_EQ(view().colSel(), 9);
}

TEST_F(TotalsFixture, SortByCombinationClosesUpTableListAndView) {
    // Twelve rows scattered over the table: 988 leading empty rows after the sort.
    const auto c = combos(12);
    std::map<int, std::string> rows;
    for (int i = 0; i < 12; ++i) rows[80 * i + 17] = c[i];
    fill(rows);
    enterTab();
    form.psmnu1_click();

    auto sorted = c;
    std::sort(sorted.begin(), sorted.end());
    for (int r = 1; r <= 1000; ++r) {
        ASSERT_EQ(view().cell(r, 0), std::to_string(r));
        const std::string want = r <= 12 ? sorted[r - 1] : "";
        ASSERT_EQ(view().cell(r, 1), want) << r;
        // The table and the list hold exactly the same texts: no stale copies.
        ASSERT_EQ(form.combinationTable().cell(r, 1), want) << r;
        ASSERT_EQ(form.markSheet().list().cell(r, 1), want) << r;
        for (int col = 2; r > 12 && col <= 9; ++col) ASSERT_EQ(view().cell(r, col), "");
    }
    EXPECT_FALSE(view().cell(12, 9).empty());  // rescored
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_F(TotalsFixture, SortByCombinationStoppedByAnInvalidRowLeavesNoEntriesBesideOtherTexts) {
    const auto c = combos(6);
    fill({{3, c[0]}, {9, c[1]}, {20, c[2]}, {21, c[3]}, {40, c[4]}});
    ASSERT_FALSE(form.combinationTable().cell(3, 2).empty() && form.combinationTable().cell(9, 2).empty());
    form.combinationTable().setCell(50, 1, "99, 1, 2, 3, 4");  // 99 is no number: validation stops
    enterTab();
    form.psmnu1_click();
    ASSERT_EQ(platform.messages.size(), 1u);
    for (int r = 1; r <= 6; ++r) {
        EXPECT_FALSE(form.combinationTable().cell(r, 1).empty());
        EXPECT_EQ(form.combinationTable().cell(r, 2), "") << r;
        EXPECT_EQ(view().cell(r, 3), "0") << r;
    }
}

TEST_F(TotalsFixture, SortByCombinationWithEveryRowFilledReordersTheViewOnly) {
    const auto c = combos(1000);
    std::map<int, std::string> rows;
    for (int r = 1; r <= 1000; ++r) rows[r] = c[r - 1];
    fill(rows);
    enterTab();
    form.psmnu1_click();
    for (int r = 2; r <= 1000; ++r) ASSERT_LE(grid::compareGeneric(view().cell(r - 1, 1), view().cell(r, 1)), 0);
    for (int r = 1; r <= 1000; ++r) ASSERT_EQ(form.combinationTable().cell(r, 1), c[r - 1]);
    EXPECT_EQ(view().cell(1000, 0), "1000");
}

TEST_F(TotalsFixture, SortByEachScoreColumnWritesTheOrderBack) {
    const auto c = combos(40);
    std::map<int, std::string> rows;
    for (int i = 0; i < 40; ++i) rows[i * 3 + 2] = c[i];
    fill(rows);
    for (int column : {2, 3, 4, 6, 7, 8, 9}) {
        enterTab();
        form.totals().pbsort(column);
        for (int r = 2; r <= 1000; ++r)
            ASSERT_GE(grid::compareGeneric(view().cell(r - 1, column), view().cell(r, column)), 0) << column;
        std::multiset<std::string> seen;
        for (int r = 1; r <= 1000; ++r) {
            ASSERT_EQ(view().cell(r, 0), std::to_string(r));
            ASSERT_EQ(form.combinationTable().cell(r, 1), view().cell(r, 1));
            if (r <= 40) seen.insert(view().cell(r, 1));
            else ASSERT_EQ(view().cell(r, 1), "");
            // The table's win entries are those of the text now in the row.
            const auto entries =
                combos::winEntriesLiteral(form.state().history, form.combinationTable().cell(r, 1), form.state().maxn);
            ASSERT_EQ(form.combinationTable().cell(r, static_cast<int>(entries.size()) + 1),
                      entries.empty() ? form.combinationTable().cell(r, 1) : combos::winEntryText(entries.back()));
            ASSERT_EQ(form.combinationTable().cell(r, static_cast<int>(entries.size()) + 2), "");
        }
        EXPECT_EQ(seen, std::multiset<std::string>(c.begin(), c.end()));
    }
}

TEST_F(TotalsFixture, MousePressCopyAndMenu) {
    const auto c = combos(4);
    fill({{1, c[0]}, {2, c[1]}, {3, ""}, {4, c[3]}});
    enterTab();
    grid::TextGrid& g = form.totals().grid();

    // Header row outside column 1: nothing happens.
    g.setRow(0);
    g.setCol(3);
    EXPECT_FALSE(form.MSFlexGrid2_MouseDown(2));
    EXPECT_EQ(g.col(), 3);

    // A selection made upwards copies the same rows top to bottom; an empty
    // row gives an empty line.
    g.setRow(4);
    g.setRowSel(1);
    g.setCol(5);
    EXPECT_TRUE(form.MSFlexGrid2_MouseDown(2));
    form.pmnucopy2_click();
    EXPECT_EQ(platform.clipboard, c[0] + "\r\n" + c[1] + "\r\n\r\n" + c[3] + "\r\n");
    // The press sets the columns only: the selected rows stay for the next command.
    EXPECT_EQ(g.row(), 4);
    EXPECT_EQ(g.rowSel(), 1);
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.colSel(), 9);
}

}  // namespace
}  // namespace kazuban
