#include <gtest/gtest.h>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "combos/editing.h"
#include "support/fake_platform.h"

namespace kazuban::combos {
namespace {

grid::TextGrid table() {
    grid::TextGrid t;
    layoutTable(t, 100);
    return t;
}

TEST(Editing, PasteNormalisesEachLineByItsFirstComma) {
    const std::pair<const char*, const char*> cases[] = {
        {" 3, 9,15,22,30", " 3, 9,15,22,30"},
        {"No.7  3, 9,15,22,30\r\n", " 3, 9,15,22,30"},  // a prefix before the first number goes;
        {"No.7  3, 9,15,22,30", " 3, 9,15,"},           // a last line is cut to 14 characters first
        {" 3, 9,15,22,30,31,", " 3, 9,15,22,30"},       // a last line keeps 14 characters
        {"5,12,20,27,31\r\n", " 5,12,20,27,31"},        // comma at 2: a blank in front
        {",12,20,27,31, 1\r\n", "12,20,27,31, 1"},      // comma at 1: the first character goes
        {"x\r\n 1, 2, 3, 4, 5\r\n", " 1, 2, 3, 4, 5"},  // no comma: the next line overwrites it
        {"nocomma\r\n", "nocomma"},                     // ... unless there is none
        {"\r\n 1, 2, 3, 4, 5\r\n", " 1, 2, 3, 4, 5"},   // a leading line break is dropped
        {"1,2", ""},                                    // a last line of 3 characters is not written
    };
    for (const auto& [clip, row] : cases) {
        grid::TextGrid t = table();
        pasteText(t, clip, 10);
        EXPECT_EQ(t.cell(10, 1), row) << clip;
    }

    grid::TextGrid t = table();
    t.setCell(11, 2, "5=4");
    pasteText(t, " 1, 2, 3, 4, 5\n12,13,14,15,16", 10);  // LF alone ends a line too
    EXPECT_EQ(t.cell(10, 1), " 1, 2, 3, 4, 5");
    EXPECT_EQ(t.cell(11, 1), "12,13,14,15,16");
    EXPECT_EQ(t.cell(11, 2), "5=4");  // win entries are not touched
    EXPECT_EQ(t.cell(12, 1), "");
    pasteText(t, "a,1\r\nb,2\r\nc,3\r\n", 999);  // past row 1000: dropped
    EXPECT_EQ(t.cell(1000, 1), " b,2");
    pasteText(t, " 6, 7, 8, 9,10\r\n", 0);  // anchored on the header: from row 1
    EXPECT_EQ(t.cell(0, 1), "組合せデータ");
    EXPECT_EQ(t.cell(1, 1), " 6, 7, 8, 9,10");
}

TEST(Editing, CopyAndDeleteThroughTheMenu) {
    testing::FakePlatform p;
    app::Form1 form(p);
    form.state().maxn = 100;
    form.wins().buildCombinationTable();
    auto& g = form.combinationTable();
    for (int r = 3; r <= 9; ++r) {
        g.setCell(r, 1, " 1, 2, 3, 4, " + std::to_string(r));
        g.setCell(r, 2, "3=4");
    }
    g.setRow(5);  // selected upwards
    g.setRowSel(3);
    g.setCol(6);
    EXPECT_TRUE(form.MSFlexGrid1_MouseDown(2));
    form.pmnucopy_click();
    EXPECT_EQ(p.clipboard, " 1, 2, 3, 4, 3\r\n 1, 2, 3, 4, 4\r\n 1, 2, 3, 4, 5\r\n");
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.colSel(), 30);

    g.setRow(9);
    g.setRowSel(7);
    form.pmnudelete_click();
    EXPECT_EQ(g.cell(6, 1), " 1, 2, 3, 4, 6");
    for (int r = 7; r <= 9; ++r) EXPECT_EQ(g.storedCells(r), 1) << r;  // the row number stays
    g.setRow(0);
    g.setRowSel(4);
    form.pmnudelete_click();  // the header row is never emptied
    EXPECT_EQ(g.cell(0, 1), "組合せデータ");
    EXPECT_EQ(g.cell(0, 2), "1");
    EXPECT_EQ(g.cell(4, 1), "");
}

}  // namespace
TEST(Editing, ATypedTicketTakesTheTablesFormOrStaysAsTypedForTheCheck) {
    const std::pair<const char*, const char*> cases[] = {
        {" 3, 9,14,22,30", " 3, 9,14,22,30"},       // the table's own form stays
        {"3,9,14,22,30", " 3, 9,14,22,30"},         // single digits get their blank
        {"3 9 14 22 30", " 3, 9,14,22,30"},         // blanks separate as commas do
        {"  30, 3 ,9,  14 22 ", "30, 3, 9,14,22"},  // in the order typed, whatever the blanks
        {"1,2,3,4,40", " 1, 2, 3, 4,40"},           // a number out of range is for the check to refuse
        {"1,2,3,4", "1,2,3,4"},                     // four numbers: as typed
        {"1,2,3,4,5,6", "1,2,3,4,5,6"},             // six numbers: as typed
        {"1,,2,3,4,5", "1,,2,3,4,5"},               // two commas name no number between them
        {",1,2,3,4,5", ",1,2,3,4,5"},
        {"1,2,3,4,5,", "1,2,3,4,5,"},
        {"1,2,3,4,123", "1,2,3,4,123"},  // three digits
        {"1,2,3,4,５", "1,2,3,4,５"},    // a full-width digit is not one of the table's
        {"a,2,3,4,5", "a,2,3,4,5"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [typed, text] : cases) EXPECT_EQ(typedCombinationText(typed), text) << typed;
}

}  // namespace kazuban::combos
