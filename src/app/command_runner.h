#pragma once
// One path for every user command. The runner opens the undo step of a
// command that may change the combination table, runs the command, turns a
// failure that escapes it into the one error text in one message box, and
// then announces what the command changed: the table, the history, a
// selection, the settings. Pages and the window's tabs observe those
// announcements and bring themselves up to date, so no view shows figures
// that are no longer true. What changed is read from revisions, not
// declared by the commands, so a command cannot forget to announce.
#include <cstdint>
#include <functional>
#include <vector>

#include "app/state.h"

namespace kazuban::app {

enum Change : unsigned {
    kTableChanged = 1,      // cells of the combination table (texts or win entries)
    kHistoryChanged = 2,    // the history was reloaded with other draws
    kSelectionChanged = 4,  // the current cell or selection of a grid
    kSettingsChanged = 8,   // Kazuban.ini was written
};

struct Changes {
    unsigned what = 0;
    // The tab whose command made the changes; -1 for menu commands, the
    // frame and start-up. A page that made a change itself does not rebuild
    // from it.
    int origin = -1;
    bool has(Change c) const { return (what & c) != 0; }
};

class ChangeObserver {
public:
    virtual ~ChangeObserver() = default;
    // Called after every command, also when `changes.what` is 0: the view
    // may then redraw what only the command's own page changed.
    virtual void changed(const Changes& changes) = 0;
};

class CommandRunner {
public:
    enum class Undo { None, Step };

    explicit CommandRunner(State& state) : state_(state) {}
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    // Runs one command. Commands run from inside a command belong to it: one
    // undo step, one announcement at the end of the outermost.
    void run(const std::function<void()>& command, Undo undo = Undo::None, int origin = -1);
    bool running() const { return depth_ > 0; }

    // Observers are told in the order they were added.
    void addObserver(ChangeObserver* observer);
    void removeObserver(ChangeObserver* observer);
    // Grids whose selection counts as a change of the selection.
    void watchSelection(const TextGrid* grid) { watched_.push_back(grid); }
    // Announces every kind of change at once (after the start-up).
    void announceAll();

private:
    struct Marks {
        std::uint64_t table = 0, selection = 0;
        unsigned history = 0, settings = 0;
    };
    Marks marks() const;
    unsigned changedSince(const Marks& before) const;
    void announce(unsigned what, int origin);

    State& state_;
    std::vector<ChangeObserver*> observers_;
    std::vector<const TextGrid*> watched_;
    int depth_ = 0;
    int origin_ = -1;
    Marks before_;
};

}  // namespace kazuban::app
