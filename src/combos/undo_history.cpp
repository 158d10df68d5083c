#include "combos/undo_history.h"

#include <utility>

#include "combos/combination_table.h"

namespace kazuban::combos {

TableTexts tableTexts(const grid::TextGrid& table) {
    TableTexts texts;
    texts.reserve(kDataRows);
    for (int r = 1; r <= kDataRows; ++r) texts.push_back(table.cell(r, 1));
    return texts;
}

void restoreTableTexts(grid::TextGrid& table, const TableTexts& texts) {
    for (int r = 1; r <= kDataRows; ++r) {
        const auto i = static_cast<std::size_t>(r - 1);
        const std::string& text = i < texts.size() ? texts[i] : std::string();
        if (table.cell(r, 1) != text) table.setCell(r, 1, text);
    }
}

void UndoHistory::beginStep(const grid::TextGrid& table, int mark) {
    if (depth_++ == 0) before_ = {tableTexts(table), mark};
}

void UndoHistory::endStep(const grid::TextGrid& table) {
    if (depth_ == 0 || --depth_ > 0) return;
    Snapshot before = std::move(before_);
    before_ = {};
    if (before.texts == tableTexts(table)) return;
    push(undo_, std::move(before));
    redo_.clear();
}

bool UndoHistory::step(std::deque<Snapshot>& from, std::deque<Snapshot>& to, grid::TextGrid& table, int* mark) {
    if (from.empty() || depth_ > 0) return false;
    push(to, {tableTexts(table), mark ? *mark : 0});
    restoreTableTexts(table, from.back().texts);
    if (mark) *mark = from.back().mark;
    from.pop_back();
    return true;
}

bool UndoHistory::undo(grid::TextGrid& table, int* mark) { return step(undo_, redo_, table, mark); }

bool UndoHistory::redo(grid::TextGrid& table, int* mark) { return step(redo_, undo_, table, mark); }

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
}

void UndoHistory::push(std::deque<Snapshot>& stack, Snapshot snapshot) {
    stack.push_back(std::move(snapshot));
    while (stack.size() > limit_) stack.pop_front();
}

}  // namespace kazuban::combos
