#include "app/ledger_page.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "analysis/combination_values.h"
#include "text/app_error.h"

namespace kazuban::app {

namespace {

// As many steps as the combination table keeps; each holds every row.
constexpr std::size_t kUndoSteps = 100;

}  // namespace

std::filesystem::path LedgerPage::filePath() const { return s_.startdir / ledger::kLedgerFileName; }

std::string LedgerPage::problemText() const {
    if (!readProblem_.empty()) return readProblem_;
    return file_.readOnly() ? ledger::problemsMessage(file_.problems()) : std::string();
}

std::optional<std::vector<std::array<int, 5>>> LedgerPage::combosOf(const std::vector<std::string>& texts) {
    const analysis::Snapshot snap = analysis::takeSnapshot(texts);
    if (snap.status != analysis::SnapshotStatus::Ok) {
        s_.platform.messageBox(analysis::snapshotMessage(snap), platform::Icon::Critical, platform::Buttons::Ok);
        return std::nullopt;
    }
    std::vector<std::array<int, 5>> out;
    for (analysis::ComboMask m : snap.combos) out.push_back(ledger::numbersOf(m));
    return out;
}

void LedgerPage::reload() {
    if (file_.path() != filePath()) file_ = ledger::LedgerFile(filePath());
    readProblem_.clear();
    try {
        file_.read();
    } catch (const AppError& e) {
        // The rows read before stay in sight, but nothing is written over a
        // file that could not be read.
        readProblem_ = e.text();
    }
    undo_.clear();
    recheck();
}

bool LedgerPage::refuseWhenReadOnly() {
    if (!readOnly()) return false;
    s_.platform.messageBox(problemText(), platform::Icon::Exclamation, platform::Buttons::Ok);
    return true;
}

bool LedgerPage::add(const ledger::Purchase& purchase) {
    if (refuseWhenReadOnly()) return false;
    const std::string problem = ledger::purchaseProblem(purchase);
    if (!problem.empty()) {
        s_.platform.messageBox(problem, platform::Icon::Exclamation, platform::Buttons::Ok);
        return false;
    }
    std::vector<ledger::Row> rows = file_.rows();
    const std::vector<ledger::Row> added = ledger::purchaseRows(purchase);
    rows.insert(rows.end(), added.begin(), added.end());
    return store(rows, true);
}

void LedgerPage::setReceived(const std::vector<std::size_t>& which, int day) {
    if (refuseWhenReadOnly()) return;
    std::vector<ledger::Row> rows = file_.rows();
    bool any = false;
    for (std::size_t i : which) {
        if (i >= rows.size() || rows[i].received == day) continue;
        rows[i].received = day;
        any = true;
    }
    if (any) store(rows, true);
}

void LedgerPage::remove(const std::vector<std::size_t>& which) {
    const std::set<std::size_t> gone(which.begin(), which.end());
    if (gone.empty() || *gone.rbegin() >= file_.rows().size() || refuseWhenReadOnly()) return;
    char question[160];
    std::snprintf(question, sizeof question, kLedgerDeleteQuestion, static_cast<int>(gone.size()));
    if (s_.platform.messageBox(question, platform::Icon::Exclamation, platform::Buttons::OkCancel) != platform::kOk)
        return;
    std::vector<ledger::Row> rows;
    for (std::size_t i = 0; i < file_.rows().size(); ++i)
        if (!gone.count(i)) rows.push_back(file_.rows()[i]);
    store(rows, true);
}

void LedgerPage::undo() {
    if (undo_.empty() || refuseWhenReadOnly()) return;
    if (store(undo_.back(), false)) undo_.pop_back();
}

bool LedgerPage::store(const std::vector<ledger::Row>& rows, bool undoable) {
    std::vector<ledger::Row> before = file_.rows();
    try {
        file_.write(rows);
    } catch (const AppError& e) {
        if (e.text() == ledger::kChangedMessage) {
            const int answer = s_.platform.messageBox(e.text() + "\n" + kLedgerReloadQuestion,
                                                      platform::Icon::Exclamation, platform::Buttons::OkCancel);
            if (answer == platform::kOk) reload();
        } else {
            s_.platform.messageBox(e.text(), platform::Icon::Critical, platform::Buttons::Ok);
        }
        return false;
    }
    if (undoable) {
        if (undo_.size() == kUndoSteps) undo_.erase(undo_.begin());
        undo_.push_back(std::move(before));
    }
    recheck();
    return true;
}

void LedgerPage::recheck() {
    checked_ = ledger::checkRows(file_.rows(), s_.history, s_.payouts);
    ++revision_;
}

void LedgerPage::changed(const Changes& changes) {
    if (!changes.has(kHistoryChanged)) return;
    if (!loaded_) {
        // The first history of the session: the ledger is read with it, and
        // its draws are nothing new.
        loaded_ = true;
        reload();
        checkedMaxn_ = s_.maxn;
        return;
    }
    recheck();
    const int before = checkedMaxn_;
    checkedMaxn_ = s_.maxn;
    if (s_.maxn <= before) return;
    const std::string message = ledger::newDrawsMessage(file_.rows(), checked_, before, s_.maxn);
    if (!message.empty()) s_.platform.messageBox(message, platform::Icon::None, platform::Buttons::Ok);
}

}  // namespace kazuban::app
