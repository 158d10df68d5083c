#include "views/totals.h"

#include <algorithm>
#include <array>

#include "text/text.h"
#include "views/scoring.h"

namespace kazuban::views {

namespace {

constexpr std::array<const char*, 10> kHeaders = {"",     "組合せデータ", "合計",      "当選回数",    "最新当選回",
                                                  "最高", "奇:偶",        "ﾍﾟｱ相性率", "ﾄﾘﾌﾟﾙ相性率", "５分割分布"};
constexpr std::array<int, 10> kWidths = {500, 2190, 620, 1070, 1320, 570, 720, 1220, 1440, 1590};

}  // namespace

void buildTotalsGrid(grid::TextGrid& view) {
    view.setRows(kTotalsRows + 1);
    view.setCols(10);
    view.setFixedRows(1);
    view.setFixedCols(1);
    view.clear();
    for (int c = 0; c < 10; ++c) {
        view.setColWidth(c, kWidths[c]);
        view.setColAlignment(c, grid::Align::Centre);
        view.setCell(0, c, kHeaders[c]);
    }
    for (int r = 1; r <= kTotalsRows; ++r) view.setCell(r, 0, text::intText(r));
}

void scoreTotalsRow(grid::TextGrid& view, int row, const grid::TextGrid& table, int lastWinColumn,
                    const history::PairTable& pairs) {
    const std::string& c = view.cell(row, 1);
    if (c.size() < 14) return;
    scoreIntoGrid(view, row, c, summarizeWinEntries(table, row, lastWinColumn), pairs);
}

void selectRowColumns(grid::TextGrid& g, int c0, int c1) {
    g.setCol(c0);
    g.setRowSel(g.row());
    g.setColSel(c1);
}

std::string selectedCombinationsText(const grid::TextGrid& g) {
    int a = g.row();
    int b = g.rowSel();
    if (a > b) std::swap(a, b);
    // Rows outside the grid hold nothing; the walk never leaves it.
    a = std::max(a, 0);
    b = std::min(b, g.rows() - 1);
    std::string out;
    for (int r = a; r <= b; ++r) {
        if (r > a) out += "\r\n";
        out += g.cell(r, 1);
    }
    out += "\r\n";
    return out;
}

int leadingShortRows(const grid::TextGrid& view) {
    int r = 1;
    while (r < kTotalsRows && text::Len(view.cell(r, 1)) < 13) ++r;
    return r - 1;
}

void closeUpCombinations(grid::TextGrid& view, int k) {
    for (int h = 1; h <= kTotalsRows - k; ++h) {
        view.setCell(h, 1, view.cell(h + k, 1));
        view.clearRange(h + k, 1, h + k, 9);
    }
}

bool sortTotalsByCombination(grid::TextGrid& view, grid::TextGrid& table, grid::TextGrid& markSheetList,
                             int lastWinColumn) {
    view.sortRows(1, kTotalsRows, 1, true, grid::Comparison::Generic);
    const int k = leadingShortRows(view);
    if (k == 0) return false;
    closeUpCombinations(view, k);
    // Every row takes the view's order. (Copying only the rows that moved
    // would leave rows 1001 - k .. k holding their old texts when more than
    // half the rows are short, duplicating combinations in the table.)
    for (int r = 1; r <= kTotalsRows; ++r) {
        table.setCell(r, 1, view.cell(r, 1));
        markSheetList.setCell(r, 1, view.cell(r, 1));
    }
    // When the recalculation stops early (an invalid row, no history) a row
    // must show no entries rather than those of the text that stood there before.
    table.clearRange(1, 2, kTotalsRows, lastWinColumn);
    return true;
}

void numberTotalsRows(grid::TextGrid& view) {
    for (int r = 1; r <= kTotalsRows; ++r) view.setCell(r, 0, text::intText(r));
}

}  // namespace kazuban::views
