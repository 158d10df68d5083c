#include "app/predraw_page.h"

#include <algorithm>

#include "app/programs.h"
#include "output/layouts.h"
#include "output/print_document.h"
#include "output/printing.h"
#include "views/predraw.h"
#include "views/totals.h"

namespace kazuban::app {

PredrawPage::PredrawPage(State& state)
    : s_(state), MSFlexGrid5_(2, 10, 1, 1), scratch_(std::make_unique<views::PredrawState>()) {
    MSFlexGrid5_.setRow(1);
    MSFlexGrid5_.setRowSel(1);
}

PredrawPage::~PredrawPage() = default;

void PredrawPage::buildPredrawGrid() { views::buildPredrawGrid(MSFlexGrid5_, std::min(s_.maxn, s_.history.maxn())); }

void PredrawPage::computePredrawAnalysis() {
    const int n = std::min(s_.maxn, s_.history.maxn());
    if (chg_ == 1 || n < views::kPredrawFirstDraw) return;
    platform::BusyPointer busy(s_.platform);
    buildPredrawGrid();
    views::selectRowColumns(MSFlexGrid5_, 0, 9);
    views::runPredrawAnalysis(s_.history, n, MSFlexGrid5_, *scratch_, &s_.platform);
    chg_ = 1;
}

void PredrawPage::releaseScratch() { scratch_->reset(); }

std::size_t PredrawPage::scratchDraws() const { return scratch_->wins.size(); }

void PredrawPage::changed(const Changes& changes) {
    if (!changes.has(kHistoryChanged)) return;
    // The view scores every draw against the ones before it: new draws need
    // the whole analysis again.
    forgetAnalysis();
    if (s_.SSTab1 == kTabPredraw) computePredrawAnalysis();
}

bool PredrawPage::mouseDown(int button) {
    if (MSFlexGrid5_.row() == 0 && MSFlexGrid5_.col() != 1) return false;
    // The press sets the columns only: rows selected before stay selected.
    MSFlexGrid5_.setCol(0);
    MSFlexGrid5_.setColSel(9);
    return button == 2;
}

void PredrawPage::sort(int column, bool ascending) {
    if (column < 0 || column > 9) return;
    const int last = MSFlexGrid5_.rows() - 1;
    if (last < 1) return;
    const auto cmp = (column == 1 || column == 9) ? grid::Comparison::Text : grid::Comparison::Generic;
    MSFlexGrid5_.sortRows(1, last, column, ascending, cmp);
}

void PredrawPage::copyRows() {
    s_.platform.clearClipboard();
    s_.platform.setClipboardText(views::selectedCombinationsText(MSFlexGrid5_));
}

void PredrawPage::print() {
    // The view holds the draws of the analysis; draws added since then have no row.
    const int lastRow = std::max(-1, std::min(s_.maxn - 50, MSFlexGrid5_.rows() - 1));
    printFile(s_, output::kViewPrintFile, output::layoutB(MSFlexGrid5_, lastRow, 0));
}

void PredrawPage::preview() {
    output::PrintDocument document = output::viewDocument(MSFlexGrid5_, output::kPredrawTitle, s_.maxn);
    document.dataFolders = s_.dataFolders();
    s_.platform.showPrintPreview(document);
}

}  // namespace kazuban::app
