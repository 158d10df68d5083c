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

void UndoHistory::beginStep(const grid::TextGrid& table) {
    if (depth_++ == 0) before_ = tableTexts(table);
}

void UndoHistory::endStep(const grid::TextGrid& table) {
    if (depth_ == 0 || --depth_ > 0) return;
    TableTexts before = std::move(before_);
    before_.clear();
    if (before == tableTexts(table)) return;
    push(undo_, std::move(before));
    redo_.clear();
}

bool UndoHistory::undo(grid::TextGrid& table) {
    if (undo_.empty() || depth_ > 0) return false;
    push(redo_, tableTexts(table));
    restoreTableTexts(table, undo_.back());
    undo_.pop_back();
    return true;
}

bool UndoHistory::redo(grid::TextGrid& table) {
    if (redo_.empty() || depth_ > 0) return false;
    push(undo_, tableTexts(table));
    restoreTableTexts(table, redo_.back());
    redo_.pop_back();
    return true;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
}

void UndoHistory::push(std::deque<TableTexts>& stack, TableTexts texts) {
    stack.push_back(std::move(texts));
    while (stack.size() > limit_) stack.pop_front();
}

}  // namespace kazuban::combos
