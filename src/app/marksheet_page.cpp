#include "app/marksheet_page.h"

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::app {

namespace {

constexpr int kRows = combos::kDataRows;

}  // namespace

MarkSheetPage::MarkSheetPage(State& state) : s_(state), MSFlexGrid3_(kRows + 1, 2, 1, 1) {
    MSFlexGrid3_.setRow(1);
    MSFlexGrid3_.setRowSel(1);
    for (auto& figure : MSFlexGrid4_) figure = TextGrid(10, 5, 0, 0);
}

void MarkSheetPage::setupMarkSheetList() {
    views::setupMarkSheetList(MSFlexGrid3_);
    for (auto& caption : controls_.caption)
        if (caption.empty()) caption = views::kMarkSheetInitialCaption;
}

void MarkSheetPage::clearMarkSheet() {
    markedFirst_ = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        controls_.Text2[k].clear();
        controls_.Text3[k].clear();
        MSFlexGrid4_[k].clear();
    }
}

void MarkSheetPage::drawMarkSheetFigures() {
    for (auto& figure : MSFlexGrid4_) views::drawMarkSheetFigure(figure);
}

void MarkSheetPage::clearAfterAllClear() {
    markedFirst_ = 0;
    MSFlexGrid3_.clear();
    for (std::size_t k = 0; k < 5; ++k) {
        MSFlexGrid4_[k].clear();
        controls_.Text4[k].clear();
        controls_.Text5[k].clear();
    }
}

void MarkSheetPage::enter() {
    clearMarkSheet();
    setupMarkSheetList();
    drawMarkSheetFigures();
    if (!combos::hasCombinations(s_.MSFlexGrid1)) return;
    for (std::size_t k = 0; k < 5; ++k) {
        controls_.Text2[k].clear();
        controls_.Text3[k].clear();
        controls_.Text4[k].clear();
        controls_.Text5[k].clear();
    }
    for (int r = 1; r <= kRows; ++r) MSFlexGrid3_.setCell(r, 1, s_.MSFlexGrid1.cell(r, 1));
}

void MarkSheetPage::changed(const Changes& changes) {
    if (s_.SSTab1 != kTabMarkSheet) return;
    // A draw entered (or the history reloaded) rewrites the win entries
    // only: the marked sheets stay, and their figures count the new draws.
    if ((changes.has(kTableChanged) || changes.has(kHistoryChanged)) && markedFirst_ > 0 && listMatchesTable()) {
        countFigures(markedFirst_);
        return;
    }
    if (!changes.has(kTableChanged)) return;
    // Choosing the tab keeps the list of an emptied table; in sight, the list
    // follows the table there is.
    if (!combos::hasCombinations(s_.MSFlexGrid1)) clearAfterAllClear();
    enter();
}

void MarkSheetPage::markFiveCombinations(int first) {
    for (std::size_t k = 0; k < 5; ++k)
        views::markFigure(MSFlexGrid4_[k], MSFlexGrid3_.cell(first + static_cast<int>(k), 1));
}

void MarkSheetPage::MSFlexGrid3_Click() {
    for (auto& figure : MSFlexGrid4_) figure.clear();
    drawMarkSheetFigures();
    const int first = views::firstShownRow(MSFlexGrid3_.row());
    markFiveCombinations(first);
    for (std::size_t k = 0; k < 5; ++k)
        controls_.caption[k] = views::kMarkSheetCaptionPrefix + text::Str(first + static_cast<int>(k));
    MSFlexGrid3_.setRow(first);
    MSFlexGrid3_.setRowSel(first + 4);
    MSFlexGrid3_.setColSel(MSFlexGrid3_.col());
    countFigures(first);
    markedFirst_ = first;
}

bool MarkSheetPage::listMatchesTable() const {
    for (int r = 1; r <= kRows; ++r)
        if (MSFlexGrid3_.cell(r, 1) != s_.MSFlexGrid1.cell(r, 1)) return false;
    return true;
}

void MarkSheetPage::countFigures(int first) {
    for (std::size_t k = 0; k < 5; ++k) {
        controls_.Text4[k].clear();
        controls_.Text5[k].clear();
    }
    const TextGrid& table = s_.MSFlexGrid1;
    for (std::size_t k = 0; k < 5; ++k) {
        const int row = first + static_cast<int>(k);
        views::Tiers t = views::markSheetTiers(MSFlexGrid3_.cell(row, 1), table, row, table.cols() - 1, s_.pairCounts);
        controls_.Text2[k] = std::move(t.wins);
        controls_.Text3[k] = std::move(t.latest);
        controls_.Text4[k] = std::move(t.pairRate);
        controls_.Text5[k] = std::move(t.tripleRate);
    }
}

}  // namespace kazuban::app
