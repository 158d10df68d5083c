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

// Reads CSV as a spreadsheet program does: a field in double quotes may hold
// commas, line ends and doubled quotes. Fields outside quotes are refused.
std::vector<std::vector<std::string>> readCsv(const std::string& csv) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::size_t i = 0;
    while (i < csv.size()) {
        if (csv[i] != '"') {
            ADD_FAILURE() << "unquoted field at byte " << i;
            return records;
        }
        std::string field;
        for (++i; i < csv.size(); ++i) {
            if (csv[i] != '"') {
                field += csv[i];
            } else if (i + 1 < csv.size() && csv[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                break;
            }
        }
        ++i;  // the closing quote
        record.push_back(field);
        if (i < csv.size() && csv[i] == ',') {
            ++i;
        } else {
            EXPECT_TRUE(i < csv.size() && csv[i] == '\n') << "a field must end at , or a line end: byte " << i;
            ++i;
            records.push_back(std::move(record));
            record.clear();
        }
    }
    return records;
}

// Every cell comes back whole from both layouts, whatever it holds: the
// commas of a combination, quotes, a line end typed into a cell.
TEST(CsvLayouts, EveryCellReadsBackAsItsOwnField) {
    const std::vector<std::string> cells{" 1, 2, 3, 4, 5", "a \"quoted\" text", "x,y", "line\nend", "\"", "12=4"};
    grid::TextGrid table(1001, 8, 1, 2);
    for (std::size_t k = 0; k < cells.size(); ++k) table.setCell(1, static_cast<int>(k) + 1, cells[k]);
    table.setCell(2, 1, "13, 5,22,30,31");
    for (int r = 1; r <= 1000; ++r) table.setCell(r, 0, std::to_string(r));
    const auto a = readCsv(layoutA(table, 0));
    ASSERT_EQ(a.size(), 1000u);
    std::vector<std::string> first = cells;
    first.push_back("");  // the record runs to the first empty cell
    EXPECT_EQ(a[0], first);
    EXPECT_EQ(a[1], (std::vector<std::string>{"13, 5,22,30,31", ""}));

    const auto view =
        viewWithRows({{"", " 1, 2, 3, 4, 5", "15", "a,\"b\"", "40", "3", "3:2", "0.3", "0.01", "5:0:0:0:0"}});
    const auto b = readCsv(layoutB(view, 0, 1));
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0], (std::vector<std::string>{" 1, 2, 3, 4, 5", "15", "a,\"b\"", "40", "3", "3;2", "0.3", "0.01",
                                              "5:0:0:0:0"}));
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
