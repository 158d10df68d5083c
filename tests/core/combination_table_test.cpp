#include <gtest/gtest.h>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;

TEST(CombinationTable, LayoutAndValidation) {
    grid::TextGrid t;
    layoutTable(t, 0);
    EXPECT_EQ(t.cols(), 21);
    EXPECT_EQ(t.cell(0, 20), "19");
    layoutTable(t, 309);
    EXPECT_EQ(t.rows(), 1001);
    EXPECT_EQ(t.cols(), 51);
    EXPECT_EQ(t.cell(0, 1), "組合せデータ");
    EXPECT_EQ(t.cell(1000, 0), "1000");
    EXPECT_EQ(t.colWidth(1), 2190);
    EXPECT_EQ(t.colWidth(50), 800);
    EXPECT_EQ(t.fontName(), "ＭＳ ゴシック");
    EXPECT_DOUBLE_EQ(t.fontSize(), 11.25);

    for (const char* ok : {" 3, 9,14,22,30", "03,09,14,22,30", " 3,03,14,22,30", "31,30, 1, 2, 3"})
        EXPECT_TRUE(isValidCombination(ok)) << ok;
    for (const char* bad : {"3,9,14,22,30", " 3, 9,14,22,32", " 0, 9,14,22,30", "14, 9,14,22,30", " 9,14,22,30, 9",
                            "01,02,03,0405,", " 3; 9;14;22;30", "１,２,14,22,30"})
        EXPECT_FALSE(isValidCombination(bad)) << bad;
    t.setCell(1, 1, " 3, 9,14,22,30");
    t.setCell(3, 1, "x");
    EXPECT_EQ(firstInvalidRow(t), 3);
}

class TableForm : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 300, 11);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    testing::TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

TEST_F(TableForm, ClearOrAppendQuestion) {
    EXPECT_EQ(form.wins().askClearOrAppend(), false);  // an empty table: nothing asked
    EXPECT_TRUE(p.messages.empty());
    form.combinationTable().setCell(1, 1, "a");
    form.combinationTable().setCell(3, 1, "c");
    p.answers = {platform::kNo, platform::kCancel};
    EXPECT_EQ(form.wins().askClearOrAppend(), false);  // No: added to the rows there
    EXPECT_EQ(form.wins().askClearOrAppend(), std::nullopt);
    const std::string q = "ﾃﾞｰﾀを消去しますか？\r\n    は　い(Y) : 全て消去\r\n    いいえ(N) : 現ﾃﾞｰﾀに追加";
    EXPECT_EQ(p.messages[0].text, q);
    EXPECT_EQ(p.messages[0].buttons, platform::Buttons::YesNoCancel);
    EXPECT_EQ(std::get<std::string>(form.state().msg), q);

    for (int r = 1; r <= 1000; ++r) form.combinationTable().setCell(r, 1, "x");
    p.answers = {platform::kNo, platform::kYes};
    EXPECT_EQ(form.wins().askClearOrAppend(), std::nullopt);  // full: ends silently
    EXPECT_EQ(form.wins().askClearOrAppend(), true);
    form.wins().clearForNewData();
    EXPECT_EQ(form.wins().hasCombinationData(), 0);
    EXPECT_EQ(form.combinationTable().cell(0, 1), "組合せデータ");
}

TEST_F(TableForm, RecalculationStopsOnInvalidRowsAndFollowsAGrownHistory) {
    form.combinationTable().setCell(1, 1, form.state().history.entry(200).substr(0, 14));
    form.combinationTable().setCell(2, 1, "3,9,14,22,30");
    form.combinationTable().setCell(1, 2, "old");
    form.wins().recalculateCombinationTable();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, " データ番号 2 に、入力ミスがあります。");
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Critical);
    EXPECT_EQ(form.combinationTable().cell(1, 2), "old");

    // Draws added while the program runs: 320 draws address two more columns.
    form.combinationTable().setCell(2, 1, "");
    testing::writeSyntheticHistory(dir, 320, 11);
    form.wins().recalculateCombinationTable();
    EXPECT_EQ(form.state().maxn, 320);
    EXPECT_EQ(form.combinationTable().cols(), 53);
    EXPECT_EQ(form.combinationTable().cell(0, 52), "51");
    EXPECT_EQ(form.frame().Label1(), "第320回:" + form.state().history.entry(320));
    std::string entries;
    for (int c = 2; c < form.combinationTable().storedCells(1); ++c)
        entries += form.combinationTable().cell(1, c) + " ";
    EXPECT_NE(entries.find("200=1 "), std::string::npos);
    EXPECT_EQ(form.combinationTable().col(), 1);
    EXPECT_EQ(form.combinationTable().colSel(), 52);
    EXPECT_EQ(p.busyDepth, 0);
}

TEST_F(TableForm, PrizeCountsInTheLeadingBlankForm) {
    form.combinationTable().setCell(1, 1, "a");
    form.combinationTable().setCell(1, 2, "40=4");
    form.combinationTable().setCell(2, 1, "b");
    form.combinationTable().setCell(2, 2, "7=1");
    form.combinationTable().setCell(2, 3, "40=4");
    form.combinationTable().setCell(2, 4, "40=9");  // no such grade
    form.frame().showDraw(40);
    EXPECT_EQ(form.frame().Label3(), (std::array<std::string, 5>{"40", "0", "0", "0", " 2"}));
    form.frame().showDraw(7);
    EXPECT_EQ(form.frame().Label3(), (std::array<std::string, 5>{"7", " 1", "0", "0", "0"}));
    EXPECT_EQ(form.frame().Label1(), "第7回:" + form.state().history.entry(7));
}

// A number that repeats is refused wherever the two fields stand, not only
// when the first field repeats; the written forms " 3" and "03" are one number.
TEST(CombinationTable, RefusesARepeatAtEveryPairOfFields) {
    const std::array<int, 5> base{3, 9, 14, 22, 30};
    for (std::size_t a = 0; a < 5; ++a) {
        for (std::size_t b = a + 1; b < 5; ++b) {
            std::array<int, 5> c = base;
            c[b] = c[a];
            const std::string text = testing::makeComboText(c);
            EXPECT_FALSE(isValidCombination(text)) << text;
        }
    }
    EXPECT_FALSE(isValidCombination(" 3, 9,14, 9,30"));
    EXPECT_TRUE(isValidCombination(testing::makeComboText(base)));
    grid::TextGrid t;
    layoutTable(t, 10);
    t.setCell(1, 1, " 3, 9,14,22,30");
    t.setCell(2, 1, " 3, 9,22,22,30");
    EXPECT_EQ(firstInvalidRow(t), 2);
}

}  // namespace
}  // namespace kazuban::combos
