#include "app/state.h"

#include <exception>

#include "combos/combination_table.h"
#include "text/app_error.h"

namespace kazuban::app {

namespace {

constexpr const char* kHistoryFileName = "atarimgrp.txt";
constexpr const char* kHistoryGone = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";

bool sameProblems(const std::vector<history::LineProblem>& a, const std::vector<history::LineProblem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].lineNumber != b[i].lineNumber || a[i].what != b[i].what) return false;
    return true;
}

}  // namespace

State::State(platform::Platform& p) : platform(p), MSFlexGrid1(combos::kDataRows + 1, 50, 1, 2) {
    // A grid's first current cell is its first scrolling cell.
    MSFlexGrid1.setRow(1);
    MSFlexGrid1.setCol(2);
    MSFlexGrid1.setRowSel(1);
    MSFlexGrid1.setColSel(2);
}

std::filesystem::path State::historyFile() const { return startdir / kHistoryFileName; }

void State::loadWinningNumbers() {
    history::LoadResult result;
    try {
        result = history::readWinningNumbers(historyFile());
    } catch (...) {
        // The file failed before and is still unreadable: the message says where it belongs.
        if (msgIsOne()) message(kHistoryGone, platform::Icon::Critical);
        else message(errorText(std::current_exception()));
        // A failed reload keeps the history loaded before and the program
        // goes on; only a program that never had a history ends.
        if (tdataon == 0) requestClose();
        return;
    }
    if (result.history.entries != history.entries) ++historyRevision_;
    history = std::move(result.history);
    maxn = history.maxn();
    tdataon = 1;
    // msg = 1 tells the callers that the load failed; a load that succeeded
    // must not leave an older failure's answer behind.
    if (msgIsOne()) msg = std::monostate{};
    // Bad lines are reported once; the same set again stays quiet.
    if (!result.problems.empty() && !sameProblems(result.problems, reportedProblems))
        platform.messageBox(history::problemsMessage(result.problems), platform::Icon::Exclamation,
                            platform::Buttons::Ok);
    reportedProblems = std::move(result.problems);
    loadPayouts();
}

void State::loadPayouts() {
    const std::filesystem::path file = startdir / history::kPayoutFileName;
    history::PayoutTable table;
    std::string problem;
    const bool found = platform.fileExists(file);
    try {
        table = history::readPayoutTable(file);
    } catch (...) {
        problem = errorText(std::current_exception());
    }
    if (table != payouts || found != payoutFileFound || problem != payoutProblem) ++historyRevision_;
    payouts = std::move(table);
    payoutFileFound = found;
    payoutProblem = std::move(problem);
}

void State::buildPairCounts() { history::buildPairTable(history, history.maxn(), pairCounts); }

void State::buildRecentRanking() { recentRanking = history::buildRanking(history); }

bool State::msgIsOne() const {
    const int* v = std::get_if<int>(&msg);
    return v && *v == 1;
}

int State::message(const std::string& text, platform::Icon icon, platform::Buttons buttons) {
    const int answer = platform.messageBox(text, icon, buttons);
    msg = answer;
    return answer;
}

}  // namespace kazuban::app
