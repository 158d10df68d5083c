// Tabs 1, 2 and 4 (totals, mark sheet, pre-draw analysis) and the tab switch.
#include <algorithm>
#include <memory>

#include "app/form1.h"
#include "text/text.h"
#include "views/marksheet.h"
#include "views/predraw.h"
#include "views/scoring.h"
#include "views/totals.h"

namespace kazuban::app {

namespace {

constexpr int kRows = views::kTotalsRows;

// The last column of the combination table that can hold a win entry.
int lastWinColumn(const TextGrid& table) { return table.cols() - 1; }

void enterTotalsTab(Form1& f) {
    f.buildTotalsGrid();
    views::selectRowColumns(f.MSFlexGrid2, 1, 9);
    if (f.hasCombinationData() == 0) return;
    for (int r = 1; r <= kRows; ++r) f.MSFlexGrid2.setCell(r, 1, f.combinationTable().cell(r, 1));
    f.platform.showProgress(0, kRows);
    for (int r = 1; r <= kRows; ++r) {
        f.scoreTotalsRow(r);
        f.platform.setProgress(r);
    }
    f.platform.hideProgress();
}

void enterMarkSheetTab(Form1& f) {
    f.clearMarkSheet();
    f.setupMarkSheetList();
    f.drawMarkSheetFigures();
    if (f.hasCombinationData() == 0) return;
    for (int k = 0; k < 5; ++k) {
        f.markSheet.Text2[k].clear();
        f.markSheet.Text3[k].clear();
        f.markSheet.Text4[k].clear();
        f.markSheet.Text5[k].clear();
    }
    f.copyCombinationsToMarkSheet();
}

}  // namespace

// ---- tab switching ---------------------------------------------------------------

void Form1::SSTab1_Click() {
    // The pre-draw analysis table starts empty at every selection.
    if (!predraw) predraw = std::make_unique<views::PredrawState>();
    predraw->reset();
    switch (SSTab1) {
    case kTabTotals: enterTotalsTab(*this); break;
    case kTabMarkSheet: enterMarkSheetTab(*this); break;
    case kTabLinks: refreshLinks(); break;
    case kTabPredraw: computePredrawAnalysis(); break;
    case kTabOdds: enterOddsTab(); break;
    default: break;
    }
}

// ---- tab 1: totals -------------------------------------------------------------

void Form1::buildTotalsGrid() { views::buildTotalsGrid(MSFlexGrid2); }

void Form1::scoreTotalsRow(int row) {
    views::scoreTotalsRow(MSFlexGrid2, row, combinationTable(), lastWinColumn(combinationTable()), pairCounts);
}

void Form1::MSFlexGrid2_MouseDown(int button) {
    if (MSFlexGrid2.row() == 0 && MSFlexGrid2.col() != 1) return;
    if (button == 2) platform.showPopupMenu(platform::PopupMenu::Totals);
    views::selectRowColumns(MSFlexGrid2, 1, 9);
}

void Form1::psmnu1_click() {
    combos::UndoStep step(undoHistory, combinationTable());
    platform::BusyPointer busy(platform);
    TextGrid& table = combinationTable();
    const int lastColumn = std::max(winEntryLastColumn(), table.cols() - 1);
    if (views::sortTotalsByCombination(MSFlexGrid2, table, MSFlexGrid3, lastColumn)) {
        recalculateCombinationTable();
        for (int r = 1; r <= kRows; ++r) scoreTotalsRow(r);
    }
    views::numberTotalsRows(MSFlexGrid2);
}

void Form1::psmnu2_click() { pbsort(2); }
void Form1::psmnu3_click() { pbsort(3); }
void Form1::psmnu4_click() { pbsort(4); }
void Form1::psmnu6_click() { pbsort(6); }
void Form1::psmnu7_click() { pbsort(7); }
void Form1::psmnu8_click() { pbsort(8); }
void Form1::psmnu9_click() { pbsort(9); }

void Form1::pbsort(int column) {
    if (column < 0 || column > 9) return;
    TextGrid& table = combinationTable();
    combos::UndoStep step(undoHistory, table);
    // Every win-entry cell, including columns a widened table gained.
    table.clearRange(1, 2, kRows, std::max(winEntryLastColumn(), table.cols() - 1));
    MSFlexGrid2.sortRows(1, kRows, column, false, grid::Comparison::Generic);
    for (int r = 1; r <= kRows; ++r) {
        table.setCell(r, 1, MSFlexGrid2.cell(r, 1));
        MSFlexGrid2.setCell(r, 0, text::intText(r));
        table.setCell(r, 0, text::intText(r));
    }
    evaluateWinEntries();
}

void Form1::pmnucopy2_click() {
    platform.clearClipboard();
    platform.setClipboardText(views::selectedCombinationsText(MSFlexGrid2));
}

void Form1::pmnucancell2_click() {}

// ---- tab 2: mark sheet ---------------------------------------------------------

void Form1::setupMarkSheetList() {
    views::setupMarkSheetList(MSFlexGrid3);
    for (auto& caption : markSheet.caption)
        if (caption.empty()) caption = views::kMarkSheetInitialCaption;
}

void Form1::clearMarkSheet() {
    for (int k = 0; k < 5; ++k) {
        markSheet.Text2[k].clear();
        markSheet.Text3[k].clear();
        MSFlexGrid4[k].clear();
    }
}

void Form1::drawMarkSheetFigures() {
    for (auto& figure : MSFlexGrid4) views::drawMarkSheetFigure(figure);
}

void Form1::copyCombinationsToMarkSheet() {
    for (int r = 1; r <= kRows; ++r) MSFlexGrid3.setCell(r, 1, combinationTable().cell(r, 1));
}

void Form1::markFiveCombinations(int first) {
    for (int k = 0; k < 5; ++k) views::markFigure(MSFlexGrid4[k], MSFlexGrid3.cell(first + k, 1));
}

void Form1::MSFlexGrid3_Click() {
    for (auto& figure : MSFlexGrid4) figure.clear();
    drawMarkSheetFigures();
    const int first = views::firstShownRow(MSFlexGrid3.row());
    markFiveCombinations(first);
    for (int k = 0; k < 5; ++k) markSheet.caption[k] = views::kMarkSheetCaptionPrefix + text::Str(first + k);
    MSFlexGrid3.setRow(first);
    MSFlexGrid3.setRowSel(first + 4);
    MSFlexGrid3.setColSel(MSFlexGrid3.col());
    for (int k = 0; k < 5; ++k) {
        markSheet.Text4[k].clear();
        markSheet.Text5[k].clear();
    }
    const TextGrid& table = combinationTable();
    for (int k = 0; k < 5; ++k) {
        views::Tiers t =
            views::markSheetTiers(MSFlexGrid3.cell(first + k, 1), table, first + k, lastWinColumn(table), pairCounts);
        markSheet.Text2[k] = std::move(t.wins);
        markSheet.Text3[k] = std::move(t.latest);
        markSheet.Text4[k] = std::move(t.pairRate);
        markSheet.Text5[k] = std::move(t.tripleRate);
    }
}

// ---- tab 4: pre-draw analysis ----------------------------------------------------

void Form1::buildPredrawGrid() { views::buildPredrawGrid(MSFlexGrid5, std::min(maxn, history.maxn())); }

void Form1::computePredrawAnalysis() {
    const int n = std::min(maxn, history.maxn());
    if (chg == 1 || n < views::kPredrawFirstDraw) return;
    if (!predraw) predraw = std::make_unique<views::PredrawState>();
    platform::BusyPointer busy(platform);
    buildPredrawGrid();
    views::selectRowColumns(MSFlexGrid5, 0, 9);
    views::runPredrawAnalysis(history, n, MSFlexGrid5, *predraw, &platform);
    chg = 1;
}

void Form1::MSFlexGrid5_MouseDown(int button) {
    if (MSFlexGrid5.row() == 0 && MSFlexGrid5.col() != 1) return;
    if (button == 2) platform.showPopupMenu(platform::PopupMenu::Predraw);
    views::selectRowColumns(MSFlexGrid5, 0, 9);
}

void Form1::ptsmnuSort(int column, bool ascending) {
    if (column < 0 || column > 9) return;
    const int last = MSFlexGrid5.rows() - 1;
    if (last < 1) return;
    const auto cmp = (column == 1 || column == 9) ? grid::Comparison::Text : grid::Comparison::Generic;
    MSFlexGrid5.sortRows(1, last, column, ascending, cmp);
}

void Form1::pmnucopy3_click() {
    platform.clearClipboard();
    platform.setClipboardText(views::selectedCombinationsText(MSFlexGrid5));
}

void Form1::pmnucancell3_click() {}

}  // namespace kazuban::app
