#pragma once
// What the print preview puts on paper for a view: its title, the draw the
// figures reach, its columns and the rows that hold data. The window lays it
// out on pages (ui/print_preview.h); the texts are those of the grid.
#include <filesystem>
#include <string>
#include <vector>

#include "grid/text_grid.h"

namespace kazuban::output {

inline constexpr const char* kWinsTitle = "当 選 回 数";
inline constexpr const char* kTotalsTitle = "合計・奇数偶数・分布 等";
inline constexpr const char* kPredrawTitle = "当選番号直前分析";
inline constexpr const char* kWinEntriesHeader = "当選履歴（回=等）";

struct PrintColumn {
    std::string header;
    int widthTwips = 0;  // the column's share of the page width
    bool wraps = false;  // a long text that runs on over more lines
};

struct PrintDocument {
    std::string title;
    std::string drawLabel;  // "第1400回まで"
    std::vector<PrintColumn> columns;
    std::vector<std::vector<std::string>> rows;  // one text per column
    // The folders whose data files a PDF printed from the preview must not replace.
    std::vector<std::filesystem::path> dataFolders;
};

// "第" + maxn + "回まで": the draws the figures are computed over.
std::string drawLabel(int maxn);

// The combination table: the data number, the combination text and its win
// entries (columns 2..lastWinColumn, as shown) joined by blanks in one column
// that wraps; every row that holds a combination, in table order.
PrintDocument combinationTableDocument(const grid::TextGrid& table, int lastWinColumn, int maxn);
// An analysis view (tab 1 or 4): every column with its header and width, the
// rows whose column 1 holds a text, in the order shown.
PrintDocument viewDocument(const grid::TextGrid& view, const std::string& title, int maxn);

}  // namespace kazuban::output
