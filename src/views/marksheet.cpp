#include "views/marksheet.h"

#include "text/text.h"
#include "views/scoring.h"

namespace kazuban::views {

namespace {

constexpr int kListRows = 1000;

// The plain text of the cell in row y and column x (n = 10x + y + 1).
std::string plainFigureCell(int y, int x) {
    const int n = 10 * x + y + 1;
    if (n > 31) return "×";
    if (n < 10) return std::string{' ', static_cast<char>('0' + n)};
    return text::intText(n);
}

}  // namespace

void setupMarkSheetList(grid::TextGrid& list) {
    list.setRows(kListRows + 1);
    list.setCols(2);
    list.setFixedRows(1);
    list.setFixedCols(1);
    list.setColWidth(0, 510);
    list.setColWidth(1, 2170);
    list.setColAlignment(0, grid::Align::Centre);
    list.setColAlignment(1, grid::Align::Centre);
    list.fixedColour = {221, 255, 255};
    list.selectionColour = {255, 224, 255};
    list.setCell(0, 0, "");
    list.setCell(0, 1, "組合せデータ");
    for (int r = 1; r <= kListRows; ++r) list.setCell(r, 0, text::intText(r));
}

void drawMarkSheetFigure(grid::TextGrid& figure) {
    figure.setRows(10);
    figure.setCols(5);
    figure.setFixedRows(0);
    figure.setFixedCols(0);
    for (int x = 0; x < 5; ++x) {
        figure.setColWidth(x, 348);
        figure.setColAlignment(x, grid::Align::Centre);
        for (int y = 0; y < 10; ++y) figure.setCell(y, x, plainFigureCell(y, x));
    }
}

void markFigure(grid::TextGrid& figure, std::string_view combination) {
    if (combination.empty()) return;
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 10; ++y) {
            if (10 * x + y + 1 > 31) continue;
            const std::string& cell = figure.cell(y, x);
            // An emptied cell stands for no number and marks nothing.
            if (!cell.empty() && combination.find(cell) != std::string_view::npos) figure.setCell(y, x, kMark);
        }
    }
}

int firstShownRow(int row) { return (row < 1 || row > kListRows - 5) ? kListRows - 4 : row; }

Tiers markSheetTiers(std::string_view combination, const grid::TextGrid& table, int tableRow, int lastWinColumn,
                     const history::PairTable& pairs) {
    Tiers t;
    const WinSummary w = summarizeWinEntries(table, tableRow, lastWinColumn);
    t.wins = text::plainText(static_cast<double>(w.count));
    t.latest = text::plainText(w.latest);
    if (!combination.empty() && text::Len(combination) >= 14) {
        const PairScore p = pairScore(combination, pairs);
        t.pairRate = p.rateText;
        t.tripleRate = tripleRateText(text::Val(t.wins), p.pairSum);
    }
    return t;
}

}  // namespace kazuban::views
