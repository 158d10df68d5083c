#pragma once
// The undo history of the combination table: what the user can take back is
// the combination texts (column 1 of rows 1..1000); win entries and scores
// follow from them and are computed again after an undo or redo.
//
// A command that may change the table opens a step (UndoStep) for its whole
// run; when it ends with other texts than it began with, the texts it began
// with are kept as one step. Steps opened inside another step belong to it,
// so one command is always one step, however many handlers it calls.
//
// Beside the texts each step keeps one number that belongs to them (the
// history's last draw when the rows were made, see app::State), so that an
// undo gives back the texts and what is known of them together.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "grid/text_grid.h"

namespace kazuban::combos {

// Column 1 of rows 1..1000, in row order.
using TableTexts = std::vector<std::string>;
TableTexts tableTexts(const grid::TextGrid& table);
// Writes the texts back into column 1 of rows 1..1000 (other columns stay).
void restoreTableTexts(grid::TextGrid& table, const TableTexts& texts);

inline constexpr std::size_t kUndoSteps = 100;

class UndoHistory {
public:
    explicit UndoHistory(std::size_t limit = kUndoSteps) : limit_(limit > 0 ? limit : 1) {}

    // A command begins and ends; only the outermost pair counts. `mark` is
    // the number that belongs to the texts the command began with.
    void beginStep(const grid::TextGrid& table, int mark = 0);
    void endStep(const grid::TextGrid& table);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

    // Takes the table back one step (or forward again): the texts are
    // restored and true returned, or false when there is nothing to do.
    // `mark`, when given, is the number of the texts now, and becomes that
    // of the texts restored.
    bool undo(grid::TextGrid& table, int* mark = nullptr);
    bool redo(grid::TextGrid& table, int* mark = nullptr);
    void clear();

private:
    struct Snapshot {
        TableTexts texts;
        int mark = 0;
    };
    void push(std::deque<Snapshot>& stack, Snapshot snapshot);
    bool step(std::deque<Snapshot>& from, std::deque<Snapshot>& to, grid::TextGrid& table, int* mark);

    std::size_t limit_;
    std::deque<Snapshot> undo_, redo_;
    int depth_ = 0;
    Snapshot before_;
};

// The step of one command, for the scope of its handler.
class UndoStep {
public:
    UndoStep(UndoHistory& history, const grid::TextGrid& table, int mark = 0) : history_(history), table_(table) {
        history_.beginStep(table_, mark);
    }
    ~UndoStep() { history_.endStep(table_); }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UndoHistory& history_;
    const grid::TextGrid& table_;
};

}  // namespace kazuban::combos
