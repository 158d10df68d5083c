#include <gtest/gtest.h>

#include "output/layouts.h"

namespace kazuban::output {
namespace {

grid::TextGrid viewWithRows(const std::vector<std::vector<std::string>>& rows) {
    grid::TextGrid g(static_cast<int>(rows.size()), 10, 1, 1);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) g.setCell(r, c, rows[r][c]);
    return g;
}

TEST(LayoutB, FullRowsEmptyRowsAndTheOddEvenColumn) {
    const auto g = viewWithRows({
        {"", "組合せデータ", "合計", "当選回数", "最新当選回", "最高", "奇:偶", "P", "T", "５分割分布"},
        {"1", " 1, 2, 3, 4, 5", "15", "2", "40", "3", "3:2", "0.334", "0.0188", "5:0:0:0:0"},
        {"2"},
        {"3", "10,11,12,13,14", "60", "0", "0", "0", "2:3", "0.2", "0.0000", "0:2:3:0:0"},
    });
    EXPECT_EQ(layoutB(g, 3, 1),
              "\"組合せデータ\",\"合計\",\"当選回数\",\"最新当選回\",\"最高\",\"奇;偶\",\"P\",\"T\",\"５分割分布\"\n"
              "\" 1, 2, 3, 4, 5\",\"15\",\"2\",\"40\",\"3\",\"3;2\",\"0.334\",\"0.0188\",\"5:0:0:0:0\"\n"
              "\"10,11,12,13,14\",\"60\",\"0\",\"0\",\"0\",\"2;3\",\"0.2\",\"0.0000\",\"0:2:3:0:0\"\n");
    // From column 0, as the pre-draw view is written: the empty header cell
    // ends row 0 at once; rows past the grid write nothing.
    const std::string all = layoutB(g, 9, 0);
    EXPECT_EQ(all.substr(0, 21), "\"1\",\" 1, 2, 3, 4, 5\",");
    EXPECT_NE(all.find("\"5:0:0:0:0\"\n\"2\"\n\"3\","), std::string::npos);
}

TEST(LayoutB, PartRowsEndTheirRecordAndQuotesAreDoubled) {
    const auto g = viewWithRows({
        {"", "a\"b", "7"},
        {"", "13 chars text"},
        {"", "x", "1", "2", "3", "4", "5", "6", "7", "8"},
    });
    EXPECT_EQ(layoutB(g, 2, 1),
              "\"a\"\"b\",\"7\"\n"
              "\"13 chars text\"\n"
              "\"x\",\"1\",\"2\",\"3\",\"4\",\"5;5\",\"6\",\"7\",\"8\"\n");
}

}  // namespace
}  // namespace kazuban::output
