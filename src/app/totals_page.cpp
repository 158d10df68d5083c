#include "app/totals_page.h"

#include <algorithm>

#include "app/programs.h"
#include "combos/combination_table.h"
#include "output/layouts.h"
#include "output/print_document.h"
#include "output/printing.h"
#include "text/text.h"
#include "views/totals.h"

namespace kazuban::app {

namespace {

constexpr int kRows = views::kTotalsRows;

}  // namespace

TotalsPage::TotalsPage(State& state, WinsPage& wins, TextGrid& markSheetList)
    : s_(state), wins_(wins), markSheetList_(markSheetList), MSFlexGrid2_(kRows + 1, 10, 1, 1) {
    // The view starts on its first data row, so a right click before any
    // left click acts on a row and the highlight is never on the header row.
    MSFlexGrid2_.setRow(1);
    MSFlexGrid2_.setRowSel(1);
}

void TotalsPage::buildTotalsGrid() { views::buildTotalsGrid(MSFlexGrid2_); }

void TotalsPage::scoreTotalsRow(int row) {
    // Every win-entry cell counts, including columns a widened table gained.
    const TextGrid& table = s_.MSFlexGrid1;
    views::scoreTotalsRow(MSFlexGrid2_, row, table, table.cols() - 1, s_.pairCounts);
}

void TotalsPage::enter() {
    buildTotalsGrid();
    views::selectRowColumns(MSFlexGrid2_, 1, 9);
    if (wins_.hasCombinationData() == 0) return;
    for (int r = 1; r <= kRows; ++r) MSFlexGrid2_.setCell(r, 1, s_.MSFlexGrid1.cell(r, 1));
    s_.platform.showProgress(0, kRows);
    for (int r = 1; r <= kRows; ++r) {
        scoreTotalsRow(r);
        s_.platform.setProgress(r);
    }
    s_.platform.hideProgress();
}

void TotalsPage::changed(const Changes& changes) {
    // The sorts of this tab write the table in the view's order themselves.
    if (s_.SSTab1 == kTabTotals && changes.has(kTableChanged) && changes.origin != kTabTotals) enter();
}

bool TotalsPage::mouseDown(int button) {
    if (MSFlexGrid2_.row() == 0 && MSFlexGrid2_.col() != 1) return false;
    // The press sets the columns only: rows selected before stay selected.
    MSFlexGrid2_.setCol(1);
    MSFlexGrid2_.setColSel(9);
    return button == 2;
}

void TotalsPage::sortByCombination() {
    platform::BusyPointer busy(s_.platform);
    TextGrid& table = s_.MSFlexGrid1;
    const int lastColumn = std::max(wins_.winEntryLastColumn(), table.cols() - 1);
    if (views::sortTotalsByCombination(MSFlexGrid2_, table, markSheetList_, lastColumn)) {
        wins_.recalculateCombinationTable();
        for (int r = 1; r <= kRows; ++r) scoreTotalsRow(r);
    }
    views::numberTotalsRows(MSFlexGrid2_);
}

void TotalsPage::pbsort(int column) {
    if (column < 0 || column > 9) return;
    TextGrid& table = s_.MSFlexGrid1;
    // Every win-entry cell, including columns a widened table gained.
    table.clearRange(1, 2, kRows, std::max(wins_.winEntryLastColumn(), table.cols() - 1));
    MSFlexGrid2_.sortRows(1, kRows, column, false, grid::Comparison::Generic);
    for (int r = 1; r <= kRows; ++r) {
        table.setCell(r, 1, MSFlexGrid2_.cell(r, 1));
        MSFlexGrid2_.setCell(r, 0, text::intText(r));
        table.setCell(r, 0, text::intText(r));
    }
    wins_.evaluateWinEntries();
}

void TotalsPage::copyRows() {
    s_.platform.clearClipboard();
    s_.platform.setClipboardText(views::selectedCombinationsText(MSFlexGrid2_));
}

void TotalsPage::print() { printFile(s_, output::kViewPrintFile, output::layoutB(MSFlexGrid2_, kRows, 1)); }

void TotalsPage::preview() {
    output::PrintDocument document = output::viewDocument(MSFlexGrid2_, output::kTotalsTitle, s_.maxn);
    document.dataFolders = s_.dataFolders();
    s_.platform.showPrintPreview(document);
}

}  // namespace kazuban::app
