#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "grid/text_grid.h"

using namespace kazuban::grid;

namespace {

std::vector<std::string> column(const TextGrid& g, int c, int r0, int r1) {
    std::vector<std::string> out;
    for (int r = r0; r <= r1; ++r) out.push_back(g.cell(r, c));
    return out;
}

}  // namespace

TEST(TextGrid, CellsOutsideTheGridReadEmptyAndIgnoreWrites) {
    TextGrid g(3, 3);
    g.setCell(1, 1, "a");
    g.setCell(3, 0, "x");
    g.setCell(0, 3, "x");
    g.setCell(-1, 0, "x");
    g.setCell(0, -1, "x");
    EXPECT_EQ(g.cell(1, 1), "a");
    EXPECT_EQ(g.cell(3, 0), "");
    EXPECT_EQ(g.cell(0, 3), "");
    EXPECT_EQ(g.cell(-1, -1), "");
    EXPECT_EQ(g.cell(100000, 5), "");
    for (int r = 0; r < 3; ++r) EXPECT_EQ(g.storedCells(r), r == 1 ? 2 : 0);
}

TEST(TextGrid, RowsStoreOnlyUpToTheirLastText) {
    TextGrid g(2, 5000);
    g.setCell(1, 0, "x");
    g.setCell(1, 3, "12=4");
    EXPECT_EQ(g.storedCells(1), 4);
    g.setCell(1, 4000, "");   // emptying beyond the stored cells stores nothing
    EXPECT_EQ(g.storedCells(1), 4);
    g.clearCell(1, 3);
    EXPECT_EQ(g.storedCells(1), 1);
    g.clearCell(1, 0);
    EXPECT_EQ(g.storedCells(1), 0);
    EXPECT_EQ(g.cell(1, 3), "");
}

TEST(TextGrid, ResizingKeepsCellsInsideAndDropsThoseOutside) {
    TextGrid g(3, 4);
    g.setCell(2, 3, "d");
    g.setCell(2, 1, "b");
    g.setColWidth(3, 900);
    g.setColAlignment(1, Align::Centre);
    g.setRows(10);
    g.setCols(8);
    EXPECT_EQ(g.cell(2, 3), "d");
    EXPECT_EQ(g.colWidth(3), 900);
    EXPECT_EQ(g.colWidth(7), 0);
    EXPECT_EQ(g.colAlignment(1), Align::Centre);
    g.setCols(2);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.cell(2, 3), "");
    EXPECT_EQ(g.cell(2, 1), "b");
    EXPECT_EQ(g.storedCells(2), 2);
    g.setCols(4);
    EXPECT_EQ(g.cell(2, 3), "");   // dropped cells do not come back
    EXPECT_EQ(g.colWidth(3), 0);
    g.setRows(2);
    EXPECT_EQ(g.cell(2, 1), "");
    g.setRows(3);
    EXPECT_EQ(g.cell(2, 1), "");
    g.setRows(-5);
    EXPECT_EQ(g.rows(), 0);
    EXPECT_EQ(g.cell(0, 0), "");
}

TEST(TextGrid, ClearAndClearRangeAreClipped) {
    TextGrid g(4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) g.setCell(r, c, std::to_string(r * 10 + c));
    g.clearRange(2, 2, 100, 100);
    EXPECT_EQ(g.cell(2, 1), "21");
    EXPECT_EQ(g.cell(2, 2), "");
    EXPECT_EQ(g.cell(3, 3), "");
    EXPECT_EQ(g.storedCells(3), 2);
    g.clearRange(1, 1, 0, 0);   // corners in either order
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.cell(1, 1), "");
    EXPECT_EQ(g.cell(1, 2), "12");
    g.clearRange(-3, -3, -1, -1);
    g.setColWidth(1, 500);
    g.clear();
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.colWidth(1), 500);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(g.storedCells(r), 0);
}

TEST(TextGrid, EveryChangeRaisesTheRevision) {
    TextGrid g(3, 3);
    auto last = g.revision();
    auto changed = [&] {
        const bool c = g.revision() != last;
        last = g.revision();
        return c;
    };
    g.setCell(1, 1, "a");
    EXPECT_TRUE(changed());
    g.clearCell(1, 1);
    EXPECT_TRUE(changed());
    g.setRows(5);
    EXPECT_TRUE(changed());
    g.setColWidth(0, 100);
    EXPECT_TRUE(changed());
    g.sortRows(1, 4, 0, true, Comparison::Generic);
    EXPECT_TRUE(changed());
    g.setRow(2);
    EXPECT_TRUE(changed());
    g.clear();
    EXPECT_TRUE(changed());
    EXPECT_EQ(g.cell(0, 0), "");
    (void)g.cell(1, 1);
    EXPECT_FALSE(changed());
}

TEST(GridCompare, GenericComparesNumbersAsNumbersAndTextsByCode) {
    EXPECT_LT(compareGeneric("9", "10"), 0);
    EXPECT_LT(compareGeneric("0.0188", "0.2"), 0);
    EXPECT_LT(compareGeneric("-3", "2"), 0);
    EXPECT_EQ(compareGeneric("05", "5"), 0);
    EXPECT_EQ(compareGeneric(" 5", "5"), 0);
    EXPECT_LT(compareGeneric("1E+16", "2E+16"), 0);
    EXPECT_GT(compareGeneric("1400", "999"), 0);
    // Texts that are not whole numbers compare by character code.
    EXPECT_LT(compareGeneric("10:0", "9:1"), 0);
    EXPECT_LT(compareGeneric("3:2", "4:1"), 0);
    EXPECT_LT(compareGeneric(" 3, 9,14,22,30", "10,11,12,13,14"), 0);
    EXPECT_LT(compareGeneric("12=4", "9=1"), 0);
    EXPECT_LT(compareGeneric("1:0:0:2:2", "1:0:0:2:2x"), 0);   // a prefix is smaller
    EXPECT_LT(compareGeneric("Z", "a"), 0);
    EXPECT_GT(compareGeneric("ｱ", "あ"), 0);   // code point order: U+FF71 after U+3042
    // Empty is the smallest of all, numbers included.
    EXPECT_EQ(compareGeneric("", ""), 0);
    EXPECT_LT(compareGeneric("", "-100"), 0);
    EXPECT_LT(compareGeneric("", " "), 0);
    EXPECT_GT(compareGeneric("0", ""), 0);
}

TEST(GridCompare, TextComparisonIgnoresNumbers) {
    EXPECT_GT(compareText("9", "10"), 0);
    EXPECT_LT(compareText(" 5,12,20,27,31", "10,12,20,27,31"), 0);
    EXPECT_LT(compareText("1", "12"), 0);
    EXPECT_EQ(compareText("abc", "abc"), 0);
    EXPECT_LT(compareText("", "a"), 0);
    EXPECT_GT(compareText("\xE3\x81\x82", "z"), 0);   // bytes compare unsigned
}

TEST(GridSort, WholeRowsMoveAndOnlyTheRangeIsSorted) {
    TextGrid g(6, 3);
    const char* keys[] = {"hdr", "30", "4", "", "100", "fixed"};
    for (int r = 0; r < 6; ++r) {
        g.setCell(r, 0, "row" + std::to_string(r));
        g.setCell(r, 1, keys[r]);
        if (r == 2) g.setCell(r, 2, "tail");
    }
    g.sortRows(1, 4, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 1, 0, 5), (std::vector<std::string>{"hdr", "", "4", "30", "100", "fixed"}));
    EXPECT_EQ(column(g, 0, 0, 5), (std::vector<std::string>{"row0", "row3", "row2", "row1", "row4", "row5"}));
    EXPECT_EQ(g.cell(2, 2), "tail");
    EXPECT_EQ(g.storedCells(1), 1);
    g.sortRows(1, 4, 1, false, Comparison::Generic);
    EXPECT_EQ(column(g, 1, 1, 4), (std::vector<std::string>{"100", "30", "4", ""}));
    g.sortRows(1, 4, 1, true, Comparison::Text);
    EXPECT_EQ(column(g, 1, 1, 4), (std::vector<std::string>{"", "100", "30", "4"}));
    // Ranges outside the grid and keys beyond the columns do no harm.
    g.sortRows(-5, 100, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 1, 0, 5), (std::vector<std::string>{"", "4", "30", "100", "fixed", "hdr"}));
    g.sortRows(4, 1, 99, true, Comparison::Generic);
    EXPECT_EQ(g.cell(0, 1), "");
}

TEST(GridSort, EqualKeysKeepTheirOrderInBothDirections) {
    TextGrid g(9, 2);
    const char* keys[] = {"", "2", "1", "2", "", "1", "2", "1", ""};
    for (int r = 1; r <= 8; ++r) {
        g.setCell(r, 0, std::to_string(r));
        g.setCell(r, 1, keys[r]);
    }
    g.sortRows(1, 8, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (std::vector<std::string>{"4", "8", "2", "5", "7", "1", "3", "6"}));
    g.sortRows(1, 8, 1, false, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (std::vector<std::string>{"1", "3", "6", "2", "5", "7", "4", "8"}));
    // A sort by another column and back gives the order of that other sort for ties.
    g.sortRows(1, 8, 0, false, Comparison::Generic);
    g.sortRows(1, 8, 1, true, Comparison::Generic);
    EXPECT_EQ(column(g, 0, 1, 8), (std::vector<std::string>{"8", "4", "7", "5", "2", "6", "3", "1"}));
}

TEST(GridSort, LargeSortIsOrderedAndFast) {
    const int n = 32767;
    TextGrid g(n + 1, 10);
    unsigned x = 12345;
    for (int r = 1; r <= n; ++r) {
        x = x * 1103515245u + 12345u;
        g.setCell(r, 0, std::to_string(r));
        for (int c = 1; c < 10; ++c) g.setCell(r, c, "0." + std::to_string((x >> (c + 3)) % 10000));
    }
    const auto t0 = std::chrono::steady_clock::now();
    g.sortRows(1, n, 7, false, Comparison::Generic);
    g.sortRows(1, n, 0, true, Comparison::Generic);
    g.sortRows(1, n, 0, false, Comparison::Text);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 5000);
    for (int r = 2; r <= n; ++r) ASSERT_GE(compareText(g.cell(r - 1, 0), g.cell(r, 0)), 0) << r;
    g.sortRows(1, n, 7, false, Comparison::Generic);
    for (int r = 2; r <= n; ++r) ASSERT_GE(compareGeneric(g.cell(r - 1, 7), g.cell(r, 7)), 0) << r;
}
