#pragma once
// What every page of the main window shares: the start-up folder and the
// paths of Kazuban.ini, the draw history with its statistics, the
// combination table with its undo history, and the shared variables the
// program has always had (maxn, msg, tdataon). Pages read and change it;
// the command runner notices what changed (by the revisions below) and
// announces it, so no page needs to be told by another.
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/recent_files.h"
#include "combos/undo_history.h"
#include "grid/text_grid.h"
#include "history/bank_fetch.h"
#include "history/draw_history.h"
#include "history/payout_table.h"
#include "history/statistics.h"
#include "platform/platform.h"

namespace kazuban::app {

using grid::TextGrid;

// The answer of the last error message box (1 = OK), or a message text being
// composed, or nothing yet.
using MsgValue = std::variant<std::monostate, std::string, int>;

// Tabs of SSTab1. The tabs beyond the classic five are drawn by their own
// widgets: kTabOdds is "確率・検証", kTabCharts is "統計グラフ", kTabDesign is
// "組合せ設計", kTabLedger is "購入記録".
enum Tab : int {
    kTabWins = 0,
    kTabTotals = 1,
    kTabMarkSheet = 2,
    kTabLinks = 3,
    kTabPredraw = 4,
    kTabOdds = 5,
    kTabCharts = 6,
    kTabDesign = 7,
    kTabLedger = 8
};

class State {
public:
    explicit State(platform::Platform& platform);
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    platform::Platform& platform;

    // The start-up folder (startdir and mydir name the same folder) and the
    // data folder of Kazuban.ini; the three program paths stay texts, as they
    // become parts of command lines.
    std::filesystem::path startdir, mydir, datadir;
    std::string editdir, calcdir, browsdir;

    int maxn = 0;
    MsgValue msg;
    int tdataon = 0;
    int SSTab1 = kTabWins;  // the tab in sight

    history::DrawHistory history;
    history::PairTable pairCounts{};
    history::RecentRanking recentRanking{};
    // Bad history lines already reported, so a reload does not repeat the message.
    std::vector<history::LineProblem> reportedProblems;
    // atarikin.csv beside the history, read with it: the dates and payouts
    // known, whether the file is there, and why it could not be read ("" when
    // it could; the table is then empty). A change counts as one of the history.
    history::PayoutTable payouts;
    bool payoutFileFound = false;
    std::string payoutProblem;
    // Where the latest results are fetched from (the window keeps them).
    std::string resultsIndexUrl = history::kDefaultIndexUrl;
    std::string resultsFolderUrl = history::kDefaultFolderUrl;

    TextGrid MSFlexGrid1;             // the CombinationTable
    combos::UndoHistory undoHistory;  // the steps of the commands that changed it
    // The history's last draw when the table's rows were made (loaded,
    // generated, pasted, sent from 組合せ設計; the latest since the table was
    // last emptied): the rows could have been built from every draw up to it,
    // so a back-test over those draws measures hindsight. 0 while no row was
    // made. Undo and redo take it with the texts.
    int rowsMadeAt = 0;
    void rowsMade() { rowsMadeAt = std::max(rowsMadeAt, maxn); }
    void rowsEmptied() { rowsMadeAt = 0; }

    RecentFiles recentFiles;  // ◇ファイル → 最近使ったファイル

    // The line a command leaves on the window's status bar ("保存しました：…");
    // the revision rises with each one, so the same line said twice shows twice.
    const std::string& statusText() const { return statusText_; }
    unsigned statusRevision() const { return statusRevision_; }
    void status(std::string text) {
        statusText_ = std::move(text);
        ++statusRevision_;
    }

    // Rises when a load gave a history with other draws than before.
    unsigned historyRevision() const { return historyRevision_; }
    // Rises when Kazuban.ini was written.
    unsigned settingsRevision() const { return settingsRevision_; }
    void settingsWritten() { ++settingsRevision_; }

    std::filesystem::path historyFile() const;
    // The folders whose data files (atarimgrp.txt, Kazuban.ini, ...) no save
    // the user aims may replace: the start-up folder and the data folder.
    std::vector<std::filesystem::path> dataFolders() const { return {startdir, datadir}; }
    // Reloads atarimgrp.txt into `history`, sets maxn and tdataon, and reads
    // atarikin.csv; a failure shows its message and keeps the history loaded
    // before.
    void loadWinningNumbers();
    void buildPairCounts();
    void buildRecentRanking();
    bool msgIsOne() const;
    // A message box whose answer is kept in msg.
    int message(const std::string& text, platform::Icon icon = platform::Icon::None,
                platform::Buttons buttons = platform::Buttons::Ok);

    // True once a handler decided that the program ends; the front end closes.
    bool closeRequested() const { return closeRequested_; }
    void requestClose() { closeRequested_ = true; }

private:
    void loadPayouts();

    unsigned historyRevision_ = 0;
    unsigned settingsRevision_ = 0;
    std::string statusText_;
    unsigned statusRevision_ = 0;
    bool closeRequested_ = false;
};

}  // namespace kazuban::app
