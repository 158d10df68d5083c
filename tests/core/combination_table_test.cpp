#include <gtest/gtest.h>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;
using testing::TempDir;

constexpr const char* kQuestion =
    "ﾃﾞｰﾀを消去しますか？\r\n    は　い(Y) : 全て消去\r\n    いいえ(N) : 現ﾃﾞｰﾀに追加";

TEST(CombinationTable, LayoutFollowsTheDrawCount) {
    grid::TextGrid t;
    layoutTable(t, 0);
    EXPECT_EQ(t.rows(), 1001);
    EXPECT_EQ(t.cols(), 21);
    EXPECT_EQ(t.cell(0, 20), "19");
    layoutTable(t, 309);
    EXPECT_EQ(t.cols(), 51);
    EXPECT_EQ(t.fixedRows(), 1);
    EXPECT_EQ(t.fixedCols(), 2);
    EXPECT_EQ(t.cell(0, 0), "");
    EXPECT_EQ(t.cell(0, 1), "組合せデータ");
    EXPECT_EQ(t.cell(0, 2), "1");
    EXPECT_EQ(t.cell(0, 50), "49");
    EXPECT_EQ(t.cell(1, 0), "1");
    EXPECT_EQ(t.cell(1000, 0), "1000");
    EXPECT_EQ(t.colWidth(0), 500);
    EXPECT_EQ(t.colWidth(1), 2190);
    EXPECT_EQ(t.colWidth(50), 800);
    EXPECT_EQ(t.colAlignment(0), grid::Align::Centre);
    EXPECT_EQ(t.colAlignment(1), grid::Align::Centre);
    EXPECT_EQ(t.colAlignment(2), grid::Align::NotSet);
    EXPECT_EQ(t.fontName(), "ＭＳ ゴシック");
    EXPECT_DOUBLE_EQ(t.fontSize(), 11.25);
    // A rebuild empties every cell.
    t.setCell(5, 1, " 1, 2, 3, 4, 5");
    t.setCell(5, 7, "3=4");
    layoutTable(t, 300);
    EXPECT_EQ(t.cell(5, 1), "");
    EXPECT_EQ(t.storedCells(5), 1);
}

TEST(CombinationTable, ValidationRules) {
    for (const char* ok : {" 3, 9,14,22,30", "03,09,14,22,30", " 3, 9,14,22,31", "31,30, 1, 2, 3"})
        EXPECT_TRUE(isValidCombination(ok)) << ok;
    for (const char* bad : {"3,9,14,22,30",        // 12 characters
                            " 3, 9,14,22,32",      // 32
                            " 0, 9,14,22,30",      // 0
                            "14, 9,14,22,30",      // 14 twice
                            " 9,14,22,30, 9",      // 9 twice
                            "01,02,03,0405,",      // five commas found
                            " 3; 9;14;22;30",      // no commas
                            "ab,cd,ef,gh,ij"})
        EXPECT_FALSE(isValidCombination(bad)) << bad;
    // Same number in different forms is not caught (the rule compares texts).
    EXPECT_TRUE(isValidCombination(" 3,03,14,22,30"));
    // Lengths count characters: full-width digits are one character each.
    EXPECT_FALSE(isValidCombination("１,２,14,22,30"));

    grid::TextGrid t;
    layoutTable(t, 10);
    EXPECT_EQ(firstInvalidRow(t), 0);
    t.setCell(1, 1, " 3, 9,14,22,30");
    t.setCell(3, 1, " 3, 9,14,22,32");
    t.setCell(700, 1, "x");
    EXPECT_EQ(firstInvalidRow(t), 3);
    EXPECT_EQ(inputErrorMessage(3), " データ番号 3 に、入力ミスがあります。");
}

TEST(CombinationTable, PrizeCountsOfOneDraw) {
    grid::TextGrid t;
    layoutTable(t, 100);
    t.setCell(1, 1, "a");
    t.setCell(1, 2, "12=4");
    t.setCell(1, 3, "40=3");
    t.setCell(2, 1, "b");
    t.setCell(2, 2, "40=4");
    t.setCell(3, 1, "c");
    t.setCell(3, 2, "bad");    // a cell without "=" ends the row's list
    t.setCell(3, 3, "40=4");
    t.setCell(4, 1, "d");
    t.setCell(4, 2, "40=4");
    t.setCell(4, 3, "40=9");   // no such grade: not counted
    const auto c40 = prizeCounts(t, 40, lastWinColumn(t, 100));
    EXPECT_EQ(c40, (std::array<int, 5>{0, 0, 0, 1, 2}));
    EXPECT_EQ(prizeCounts(t, 13, 30), (std::array<int, 5>{}));
}

// ---- through Form1 ------------------------------------------------------------

class TableForm : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 300, 11);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    void fill(int from, int to) {
        for (int r = from; r <= to; ++r) form.MSFlexGrid1.setCell(r, 1, " 1, 2, 3, 4, 5");
    }
    TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

TEST_F(TableForm, StartsEmptyWithTheColumnsOfTheHistory) {
    EXPECT_EQ(form.maxn, 300);
    EXPECT_EQ(form.MSFlexGrid1.cols(), 51);
    EXPECT_EQ(form.winEntryLastColumn(), 50);
    EXPECT_EQ(form.hasCombinationData(), 0);
    form.MSFlexGrid1.setCell(1000, 1, "x");
    EXPECT_EQ(form.hasCombinationData(), 1);
}

TEST_F(TableForm, ValidationShowsItsMessage) {
    fill(1, 1);
    form.MSFlexGrid1.setCell(2, 1, "3,9,14,22,30");
    EXPECT_EQ(form.validateCombinations(), 2);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, " データ番号 2 に、入力ミスがあります。");
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Critical);
    EXPECT_EQ(p.messages[0].buttons, platform::Buttons::Ok);
}

TEST_F(TableForm, ClearOrAppendQuestion) {
    // An empty table: start row 0, nothing asked.
    EXPECT_EQ(form.askClearOrAppend(), 0);
    EXPECT_TRUE(p.messages.empty());

    // No: the row before the first empty row (a gap counts, row 3 is overwritten later).
    fill(1, 1);
    fill(3, 3);
    p.answers = {platform::kNo};
    EXPECT_EQ(form.askClearOrAppend(), 1);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, kQuestion);
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(p.messages[0].buttons, platform::Buttons::YesNoCancel);
    EXPECT_EQ(std::get<std::string>(form.msg), kQuestion);

    // Cancel: nothing changes.
    p.answers = {platform::kCancel};
    EXPECT_EQ(form.askClearOrAppend(), std::nullopt);
    EXPECT_EQ(form.MSFlexGrid1.cell(3, 1), " 1, 2, 3, 4, 5");

    // No with every row filled: the command ends silently.
    fill(1, 1000);
    p.answers = {platform::kNo};
    EXPECT_EQ(form.askClearOrAppend(), std::nullopt);

    // Yes: the table is empty and laid out again.
    form.MSFlexGrid1.setCell(9, 5, "1=4");
    p.answers = {platform::kYes};
    EXPECT_EQ(form.askClearOrAppend(), 0);
    EXPECT_EQ(form.hasCombinationData(), 0);
    EXPECT_EQ(form.MSFlexGrid1.cell(9, 5), "");
    EXPECT_EQ(form.MSFlexGrid1.cell(0, 1), "組合せデータ");
    EXPECT_EQ(form.MSFlexGrid1.cell(9, 0), "9");
}

TEST_F(TableForm, RecalculationValidatesReloadsAndEvaluates) {
    // Empty table: nothing happens, no message.
    form.recalculateCombinationTable();
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(p.progressShows, 0);

    // A draw of the history as combination: at least its own win.
    const std::string own = form.history.entry(200).substr(0, 14);
    form.MSFlexGrid1.setCell(1, 1, own);
    form.MSFlexGrid1.setCell(2, 1, "3,9,14,22,30");
    form.MSFlexGrid1.setCell(1, 2, "old");
    form.recalculateCombinationTable();
    EXPECT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(form.MSFlexGrid1.cell(1, 2), "old");   // invalid row: nothing recomputed

    // The user adds draws while the program runs: 320 draws need one more column.
    form.MSFlexGrid1.setCell(2, 1, "");
    testing::writeSyntheticHistory(dir, 320, 11);
    form.recalculateCombinationTable();
    EXPECT_EQ(form.maxn, 320);
    EXPECT_EQ(form.MSFlexGrid1.cols(), 53);
    EXPECT_EQ(form.MSFlexGrid1.cell(0, 52), "51");
    EXPECT_EQ(form.Label1, "第320回:" + form.history.entry(320));
    bool found = false;
    for (int c = 2; !form.MSFlexGrid1.cell(1, c).empty(); ++c) found |= form.MSFlexGrid1.cell(1, c) == "200=1";
    EXPECT_TRUE(found);
    EXPECT_EQ(form.MSFlexGrid1.col(), 1);
    EXPECT_EQ(form.MSFlexGrid1.colSel(), 52);
    EXPECT_DOUBLE_EQ(form.MSFlexGrid1.fontSize(), 11);
    EXPECT_EQ(p.busyDepth, 0);
}

TEST_F(TableForm, ShowPrizeCountsWritesTheLeadingBlankForm) {
    form.Label3 = {"", "x", "x", "x", "x"};
    form.showPrizeCounts(40);   // empty table: labels stay
    EXPECT_EQ(form.Label3[1], "x");
    form.MSFlexGrid1.setCell(1, 1, "a");
    form.MSFlexGrid1.setCell(1, 2, "40=4");
    form.MSFlexGrid1.setCell(2, 1, "b");
    form.MSFlexGrid1.setCell(2, 2, "7=1");
    form.MSFlexGrid1.setCell(2, 3, "40=4");
    form.showPrizeCounts(40);
    EXPECT_EQ(form.Label3, (std::array<std::string, 5>{"", "0", "0", "0", " 2"}));
    form.showDraw(7);
    EXPECT_EQ(form.Label3, (std::array<std::string, 5>{"7", " 1", "0", "0", "0"}));
    EXPECT_EQ(form.Label1, "第7回:" + form.history.entry(7));
}

}  // namespace
}  // namespace kazuban::combos
