#pragma once
// The tab "購入記録": the tickets the player bought (kounyu.csv beside
// atarimgrp.txt), checked against the history whenever it changes. After a
// command that added draws, one message says what the ledger won in them.
// Every change of the ledger is written at once and can be taken back.
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/command_runner.h"
#include "app/state.h"
#include "ledger/checking.h"
#include "ledger/ledger_file.h"
#include "ledger/listing.h"
#include "ledger/purchase.h"

namespace kazuban::app {

class LedgerPage : public ChangeObserver {
public:
    explicit LedgerPage(State& state) : s_(state) {}

    std::filesystem::path filePath() const;
    const std::vector<ledger::Row>& rows() const { return file_.rows(); }
    const std::vector<ledger::Checked>& checked() const { return checked_; }
    const std::vector<ledger::RowProblem>& problems() const { return file_.problems(); }
    bool readOnly() const { return file_.readOnly() || !readProblem_.empty(); }
    // Why the file could not be read at all ("" when it could).
    const std::string& readProblem() const { return readProblem_; }
    // What the tab states about the file: the problems of its rows, or why
    // it could not be read; "" when all is well.
    std::string problemText() const;
    // Rises whenever the rows or their checking changed.
    unsigned revision() const { return revision_; }

    // Deadlines are measured against this day (the system's date unless set).
    int today() const { return clock_ ? clock_() : ledger::systemToday(); }
    void setClock(std::function<int()> clock) { clock_ = std::move(clock); }

    // The combinations of the texts (a combination text per data number,
    // "" for an empty row) as the table validates them; a refused row shows
    // its message and gives nullopt.
    std::optional<std::vector<std::array<int, 5>>> combosOf(const std::vector<std::string>& texts);

    // 読み直す: the file as it is on disk now; the undo steps are dropped.
    void reload();
    // Adds a purchase; a refusal shows its message and gives false.
    bool add(const ledger::Purchase& purchase);
    // Marks the rows (indices into rows()) received on `day`, or not received (0).
    void setReceived(const std::vector<std::size_t>& which, int day);
    // Deletes the rows after asking.
    void remove(const std::vector<std::size_t>& which);
    // 元に戻す: the ledger as before the last change.
    void undo();
    bool canUndo() const { return !undo_.empty(); }

    void changed(const Changes& changes) override;

private:
    // Writes the rows; a refusal or a failure shows its message. `undoable`:
    // the rows before are kept as an undo step.
    bool store(const std::vector<ledger::Row>& rows, bool undoable);
    void recheck();
    // Shows why nothing can be written while the file holds a bad row or
    // could not be read.
    bool refuseWhenReadOnly();

    State& s_;
    ledger::LedgerFile file_;
    std::string readProblem_;
    std::vector<ledger::Checked> checked_;
    std::vector<std::vector<ledger::Row>> undo_;
    std::function<int()> clock_;
    bool loaded_ = false;
    int checkedMaxn_ = 0;
    unsigned revision_ = 0;
};

inline constexpr const char* kLedgerReloadQuestion = "読み直しますか？";
inline constexpr const char* kLedgerDeleteQuestion = "選んだ %d 行を購入記録から削除します。よろしいですか？";

}  // namespace kazuban::app
