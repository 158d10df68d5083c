#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/text_grid.h"

using namespace kazuban::grid;
using Texts = std::vector<std::string>;

namespace {

Texts column(const TextGrid& g, int c, int r0, int r1) {
    Texts out;
    for (int r = r0; r <= r1; ++r) out.push_back(g.cell(r, c));
    return out;
}

}  // namespace

TEST(TextGrid, SparseCellsAndOutOfRangeAccess) {
    TextGrid g(3, 5000);
    for (auto [r, c] : {std::pair{3, 0}, {0, 5000}, {-1, 0}, {0, -1}}) g.setCell(r, c, "x");
    EXPECT_EQ(g.cell(-1, -1), "");
    EXPECT_EQ(g.cell(100000, 5), "");
    g.setCell(1, 3, "12=4");
    g.setCell(1, 0, "x");
    EXPECT_EQ(g.storedCells(1), 4);
    g.setCell(1, 4000, "");  // emptying beyond the stored cells stores nothing
    EXPECT_EQ(g.storedCells(1), 4);
    g.clearCell(1, 3);
    EXPECT_EQ(g.storedCells(1), 1);
    EXPECT_EQ(g.storedCells(0) + g.storedCells(2), 0);
}

TEST(TextGrid, ResizeClearAndRevision) {
    TextGrid g(4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) g.setCell(r, c, std::to_string(r * 10 + c));
    g.setColWidth(3, 900);
    g.setColAlignment(1, Align::Centre);
    const auto rev = g.revision();
    g.setCols(2);
    EXPECT_NE(g.revision(), rev);
    EXPECT_EQ(g.storedCells(2), 2);
    g.setCols(4);
    EXPECT_EQ(g.cell(2, 3), "");  // dropped cells do not come back
    EXPECT_EQ(g.colWidth(3), 0);
    EXPECT_EQ(g.colAlignment(1), Align::Centre);
    g.setRows(3);
    g.setRows(4);
    EXPECT_EQ(g.cell(3, 0), "");
    g.clearRange(2, 1, 100, 100);  // clipped
    EXPECT_EQ(column(g, 1, 0, 2), (Texts{"1", "11", ""}));
    EXPECT_EQ(g.cell(2, 0), "20");
    g.clearRange(1, 1, 0, 0);  // corners in either order
    EXPECT_EQ(column(g, 0, 0, 1), (Texts{"", ""}));
    g.clear();
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.storedCells(2), 0);
    g.setRows(-5);
    EXPECT_EQ(g.cell(0, 0), "");
}

TEST(GridCompare, GenericComparesNumbersAsNumbersAndTextsByCode) {
    EXPECT_LT(compareGeneric("9", "10"), 0);
    EXPECT_LT(compareGeneric("0.0188", "0.2"), 0);
    EXPECT_LT(compareGeneric("-3", "2"), 0);
    EXPECT_EQ(compareGeneric(" 05", "5"), 0);
    EXPECT_LT(compareGeneric("1E+15", "2E+15"), 0);
    // Texts that are not whole numbers compare by character code; a prefix is smaller.
    EXPECT_LT(compareGeneric("10:0", "9:1"), 0);
    EXPECT_LT(compareGeneric(" 3, 9,14,22,30", "10,11,12,13,14"), 0);
    EXPECT_LT(compareGeneric("12=4", "9=1"), 0);
    EXPECT_LT(compareGeneric("1:0:0:2:2", "1:0:0:2:2x"), 0);
    EXPECT_GT(compareGeneric("ｱ", "あ"), 0);  // code point order
    // Empty is the smallest of all.
    EXPECT_EQ(compareGeneric("", ""), 0);
    EXPECT_LT(compareGeneric("", "-100"), 0);
    EXPECT_LT(compareGeneric("", " "), 0);
    EXPECT_GT(compareText("9", "10"), 0);
    EXPECT_LT(compareText("", "a"), 0);
    EXPECT_GT(compareText("\xE3\x81\x82", "z"), 0);  // bytes compare unsigned
}

TEST(GridSort, WholeRowsMoveAndOnlyTheRangeIsSorted) {
    TextGrid g(6, 3);
    const char* keys[] = {"hdr", "30", "4", "", "100", "fixed"};
    for (int r = 0; r < 6; ++r) {
        g.setCell(r, 0, "row" + std::to_string(r));
        g.setCell(r, 1, keys[r]);
    }
    g.setCell(2, 2, "tail");
    g.sortRows(1, 4, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 1, 0, 5), (Texts{"hdr", "", "4", "30", "100", "fixed"}));
    EXPECT_EQ(column(g, 0, 0, 5), (Texts{"row0", "row3", "row2", "row1", "row4", "row5"}));
    EXPECT_EQ(g.cell(2, 2), "tail");
    g.sortRows(1, 4, 1, false, Comparison::Generic);
    EXPECT_EQ(column(g, 1, 1, 4), (Texts{"100", "30", "4", ""}));
    g.sortRows(1, 4, 1, true, Comparison::Text);
    EXPECT_EQ(column(g, 1, 1, 4), (Texts{"", "100", "30", "4"}));
    g.sortRows(-5, 100, 1, true, Comparison::Generic);  // clipped to the grid
    EXPECT_EQ(column(g, 1, 0, 5), (Texts{"", "4", "30", "100", "fixed", "hdr"}));
    g.sortRows(4, 1, 99, true, Comparison::Generic);  // no such key column: all equal
    EXPECT_EQ(g.cell(1, 1), "4");
}

TEST(GridSort, EqualKeysKeepTheirOrderInBothDirections) {
    TextGrid g(9, 2);
    const char* keys[] = {"", "2", "1", "2", "", "1", "2", "1", ""};
    for (int r = 1; r <= 8; ++r) {
        g.setCell(r, 0, std::to_string(r));
        g.setCell(r, 1, keys[r]);
    }
    g.sortRows(1, 8, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (Texts{"4", "8", "2", "5", "7", "1", "3", "6"}));
    g.sortRows(1, 8, 1, false, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (Texts{"1", "3", "6", "2", "5", "7", "4", "8"}));
    g.sortRows(1, 8, 0, false, Comparison::Generic);
    g.sortRows(1, 8, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (Texts{"8", "4", "7", "5", "2", "6", "3", "1"}));
}

TEST(GridSort, SortsTheLargestHistoryInOrder) {
    const int n = 32767;
    TextGrid g(n + 1, 8);
    unsigned x = 12345;
    for (int r = 1; r <= n; ++r) {
        x = x * 1103515245u + 12345u;
        g.setCell(r, 0, std::to_string(r));
        g.setCell(r, 7, "0." + std::to_string((x >> 8) % 10000));
    }
    g.sortRows(1, n, 7, false, Comparison::Generic);
    for (int r = 2; r <= n; ++r) ASSERT_GE(compareGeneric(g.cell(r - 1, 7), g.cell(r, 7)), 0) << r;
    g.sortRows(1, n, 0, false, Comparison::Text);
    for (int r = 2; r <= n; ++r) ASSERT_GE(compareText(g.cell(r - 1, 0), g.cell(r, 0)), 0) << r;
}
