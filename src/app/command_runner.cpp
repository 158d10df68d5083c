#include "app/command_runner.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "text/app_error.h"

namespace kazuban::app {

namespace {

// Observers that change the state again (the win entries follow a reloaded
// history) are told of that change in a further round; a few rounds settle
// every dependency the pages have.
constexpr int kMaxRounds = 4;

}  // namespace

void CommandRunner::run(const std::function<void()>& command, Undo undo, int origin) {
    if (depth_ == 0) {
        before_ = marks();
        origin_ = origin;
    }
    ++depth_;
    {
        std::optional<combos::UndoStep> step;
        if (undo == Undo::Step) step.emplace(state_.undoHistory, state_.MSFlexGrid1, state_.rowsMadeAt);
        try {
            command();
        } catch (...) {
            state_.message(errorText(std::current_exception()));
        }
    }
    --depth_;
    if (depth_ == 0) announce(changedSince(before_), origin_);
}

void CommandRunner::addObserver(ChangeObserver* observer) { observers_.push_back(observer); }

void CommandRunner::removeObserver(ChangeObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CommandRunner::announceAll() {
    announce(kTableChanged | kHistoryChanged | kSelectionChanged | kSettingsChanged, -1);
}

CommandRunner::Marks CommandRunner::marks() const {
    Marks m;
    m.table = state_.MSFlexGrid1.cellsRevision();
    m.selection = state_.MSFlexGrid1.selectionRevision();
    for (const TextGrid* g : watched_) m.selection += g->selectionRevision();
    m.history = state_.historyRevision();
    m.settings = state_.settingsRevision();
    return m;
}

unsigned CommandRunner::changedSince(const Marks& before) const {
    const Marks now = marks();
    unsigned what = 0;
    if (now.table != before.table) what |= kTableChanged;
    if (now.selection != before.selection) what |= kSelectionChanged;
    if (now.history != before.history) what |= kHistoryChanged;
    if (now.settings != before.settings) what |= kSettingsChanged;
    return what;
}

void CommandRunner::announce(unsigned what, int origin) {
    // The observers' own work is part of the command: it runs as its depth,
    // so a command an observer starts does not announce in the middle.
    ++depth_;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (round > 0 && what == 0) break;
        const Marks start = marks();
        const std::vector<ChangeObserver*> observers = observers_;
        for (ChangeObserver* o : observers) {
            try {
                o->changed(Changes{what, origin});
            } catch (...) {
                state_.message(errorText(std::current_exception()));
            }
        }
        what = changedSince(start);
        origin = -1;
    }
    --depth_;
}

}  // namespace kazuban::app
