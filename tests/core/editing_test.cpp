#include <gtest/gtest.h>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "combos/editing.h"
#include "support/fake_platform.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;

grid::TextGrid table() {
    grid::TextGrid t;
    layoutTable(t, 100);
    return t;
}

TEST(Editing, CopyTakesColumnOneOfTheSelectedRowsEitherWay) {
    grid::TextGrid t = table();
    t.setCell(3, 1, " 1, 2, 3, 4, 5");
    t.setCell(3, 2, "7=4");
    t.setCell(5, 1, "11,12,13,14,15");
    const std::string want = " 1, 2, 3, 4, 5\r\n\r\n11,12,13,14,15\r\n";
    EXPECT_EQ(copyText(t, 3, 5), want);
    EXPECT_EQ(copyText(t, 5, 3), want);
    EXPECT_EQ(copyText(t, 4, 4), "\r\n");
}

TEST(Editing, PasteNormalisesEachLineByItsFirstComma) {
    struct Case {
        const char* clip;
        const char* row;
    };
    const Case cases[] = {
        {" 3, 9,15,22,30", " 3, 9,15,22,30"},               // h = 3
        {"No.7  3, 9,15,22,30", " 3, 9,15,22,30"},          // a prefix before the first number
        {"No.7  3, 9,15,22,30\r\n", " 3, 9,15,22,30"},      // ... with or without a line break
        {"5,12,20,27,31,6", " 5,12,20,27,31,"},             // a last line keeps 14 characters
        {" 3, 9,15,22,30,31,", " 3, 9,15,22,30"},           // last line cut to 14, then 14 from h - 2
        {"5,12,20,27,31\r\n", " 5,12,20,27,31"},            // h = 2: a blank in front
        {",12,20,27,31, 1\r\n", "12,20,27,31, 1"},          // h = 1: the first character goes
        {"x\r\n 1, 2, 3, 4, 5\r\n", " 1, 2, 3, 4, 5"},      // no comma: overwritten by the next line
        {"nocomma\r\n", "nocomma"},                          // ... unless it is the last one
        {"\r\n 1, 2, 3, 4, 5\r\n", " 1, 2, 3, 4, 5"},       // a leading line break is dropped
        {" 1, 2, 3, 4, 5\n 6, 7, 8, 9,10\n", " 1, 2, 3, 4, 5"},   // LF alone ends lines too
    };
    for (const Case& c : cases) {
        grid::TextGrid t = table();
        pasteText(t, c.clip, 10);
        EXPECT_EQ(t.cell(10, 1), c.row) << c.clip;
    }

    grid::TextGrid t = table();
    t.setCell(11, 2, "5=4");
    pasteText(t, " 1, 2, 3, 4, 5\r\n12,13,14,15,16", 10);
    EXPECT_EQ(t.cell(10, 1), " 1, 2, 3, 4, 5");
    EXPECT_EQ(t.cell(11, 1), "12,13,14,15,16");
    EXPECT_EQ(t.cell(11, 2), "5=4");   // win entries are not touched
    EXPECT_EQ(t.cell(12, 1), "");
    EXPECT_EQ(t.cell(9, 1), "");

    // Lines past row 1000 are dropped; the header row is never pasted over.
    pasteText(t, "a,1\r\nb,2\r\nc,3\r\n", 999);
    EXPECT_EQ(t.cell(999, 1), " a,1");
    EXPECT_EQ(t.cell(1000, 1), " b,2");
    pasteText(t, " 6, 7, 8, 9,10\r\n", 0);
    EXPECT_EQ(t.cell(0, 1), "組合せデータ");
    EXPECT_EQ(t.cell(1, 1), " 6, 7, 8, 9,10");

    // Too short, or a last line of three characters: nothing is written.
    grid::TextGrid u = table();
    pasteText(u, "ab", 5);
    pasteText(u, "\r\nab", 5);
    pasteText(u, "1,2", 5);
    EXPECT_EQ(u.cell(5, 1), "");
    // A row that is not written is still normalised by its own first comma.
    u.setCell(6, 1, "5,12,20,27,31");
    pasteText(u, "1,2", 6);
    EXPECT_EQ(u.cell(6, 1), " 5,12,20,27,31");
}

TEST(Editing, DeleteEmptiesTheRowsInPlace) {
    grid::TextGrid t = table();
    for (int r = 6; r <= 10; ++r) {
        t.setCell(r, 1, " 1, 2, 3, 4, 5");
        t.setCell(r, 2, "3=4");
    }
    deleteRows(t, 7, 9, lastWinColumn(t, 100));
    EXPECT_EQ(t.cell(6, 1), " 1, 2, 3, 4, 5");
    for (int r = 7; r <= 9; ++r) {
        EXPECT_EQ(t.cell(r, 1), "");
        EXPECT_EQ(t.cell(r, 2), "");
        EXPECT_EQ(t.cell(r, 0), std::to_string(r));
    }
    EXPECT_EQ(t.cell(10, 1), " 1, 2, 3, 4, 5");
    // Selected upwards, and from the header: data rows only.
    deleteRows(t, 10, 0, 30);
    EXPECT_EQ(t.cell(6, 1), "");
    EXPECT_EQ(t.cell(10, 1), "");
    EXPECT_EQ(t.cell(0, 1), "組合せデータ");
    EXPECT_EQ(t.cell(0, 2), "1");
}

TEST(Editing, MouseAndMenuThroughTheForm) {
    FakePlatform p;
    app::Form1 form(p);
    form.maxn = 100;
    form.buildCombinationTable();
    auto& g = form.MSFlexGrid1;
    g.setCell(3, 1, " 1, 2, 3, 4, 5");
    g.setCell(4, 1, " 6, 7, 8, 9,10");

    // A right press opens the menu; the chosen command runs on the selection.
    g.setRow(4);
    g.setRowSel(3);
    g.setCol(5);
    p.onPopup = [&](platform::PopupMenu) { form.pmnucopy_click(); };
    form.MSFlexGrid1_MouseDown(2);
    ASSERT_EQ(p.popups.size(), 1u);
    EXPECT_EQ(p.popups[0], platform::PopupMenu::Combination);
    EXPECT_EQ(p.clipboard, " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n");
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.colSel(), 30);

    // A left press on the header outside column 1 does nothing.
    g.setRow(0);
    g.setCol(4);
    form.MSFlexGrid1_MouseDown(1);
    EXPECT_EQ(g.col(), 4);

    // Cancel changes nothing; paste goes from the anchor row; delete empties.
    p.onPopup = [&](platform::PopupMenu) { form.pmnucancell_click(); };
    g.setRow(3);
    g.setRowSel(3);
    form.MSFlexGrid1_MouseDown(2);
    EXPECT_EQ(p.clipboard, " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n");
    EXPECT_EQ(g.rowSel(), 3);
    g.setRow(20);
    g.setRowSel(25);
    form.pmnupaste_click();
    EXPECT_EQ(g.cell(20, 1), " 1, 2, 3, 4, 5");
    EXPECT_EQ(g.cell(21, 1), " 6, 7, 8, 9,10");
    g.setRow(21);
    g.setRowSel(3);
    form.pmnudelete_click();
    EXPECT_EQ(form.hasCombinationData(), 0);
}

}  // namespace
}  // namespace kazuban::combos
