#pragma once
// Form1: the main window's state and every event handler, without a toolkit.
// A front end (the Qt window, the CLI, a test) calls a handler, then redraws
// from the state. Each handler is a few lines that call the logic of its
// folder; the handlers are implemented in one file per area:
//   form1.cpp          start-up, exit, settings, history loading
//   form1_combos.cpp   the combination table and the first tab's commands
//   form1_views.cpp    totals, mark-sheet and pre-draw views, tab switching
//   form1_output.cpp   CSV export, printing, registration, analysis links
//   form1_odds.cpp     the tab "確率・検証" (odds and back-test)
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "analysis/odds_page.h"
#include "grid/text_grid.h"
#include "history/draw_history.h"
#include "history/statistics.h"
#include "platform/platform.h"

namespace kazuban::views { struct PredrawState; }

namespace kazuban::app {

using grid::TextGrid;

// The answer of the last error message box (1 = OK), or a message text being
// composed, or nothing yet.
using MsgValue = std::variant<std::monostate, std::string, int>;

// Tabs of SSTab1.
enum Tab : int { kTabWins = 0, kTabTotals = 1, kTabMarkSheet = 2, kTabLinks = 3, kTabPredraw = 4, kTabOdds = 5 };

struct ScrollBarState {
    int min = 1, max = 1, value = 1;
};

// Tab 3's controls (the nine analysis links).
struct LinkControls {
    std::array<std::string, 9> Text1;           // link texts "label=URL"
    std::array<bool, 9> Text1Visible{};         // shown while being edited
    std::array<std::string, 9> Command1Caption; // "Go! " + label
    std::array<bool, 9> Option1{};              // edit toggles
    bool Command2Visible = false;               // "編集を保存"
    bool Command7Visible = false;               // "キャンセル"
    bool Command8Visible = false;               // "初期値に戻す"
};

// Tab 2's controls beside the five figures.
struct MarkSheetControls {
    std::array<std::string, 5> caption;  // Label4, Label5, Label6, Label7, Label14
    std::array<std::string, 5> Text4;    // tier 1: pair rate
    std::array<std::string, 5> Text5;    // tier 2: triple rate
    std::array<std::string, 5> Text2;    // tier 3: win count
    std::array<std::string, 5> Text3;    // tier 4: latest winning draw
};

class Form1 {
public:
    explicit Form1(platform::Platform& platform);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- start-up, exit, settings (form1.cpp) --------------------------------
    // Runs the start-up sequence in `folder` (empty: the current directory).
    // Returns false when the program must end (a missing file, a fatal load).
    // The CLI starts without Kazuban.ini (requireEnvironmentFile = false).
    bool Form_Load(const std::string& folder = {}, bool requireEnvironmentFile = true);
    void mnufclose_Click();
    void mnuktoroku_Click();
    // Reloads atarimgrp.txt into `history`, sets maxn and tdataon.
    void loadWinningNumbers();
    // True once a handler decided that the program ends; the front end closes.
    bool closeRequested() const { return closeRequested_; }
    void requestClose() { closeRequested_ = true; }
    bool msgIsOne() const;

    // ---- statistics (form1.cpp) -----------------------------------------------
    void buildPairCounts();
    void buildPairCountsBefore(int n);
    void buildRecentRanking();

    // ---- combination table and tab 0 (form1_combos.cpp) -----------------------
    void buildCombinationTable();
    int hasCombinationData() const;
    int validateCombinations();
    void recalculateCombinationTable();
    void showPrizeCounts(int d);
    // The clear-or-append question: the start row, or nullopt when the command ends.
    std::optional<int> askClearOrAppend();
    void evaluateWinEntries();
    int winEntryLastColumn() const;   // floor(maxn * 0.1) + 20, widened as needed
    void mnudopen_Click();
    void mnudsave_Click();
    void mnu10mk_Click();
    void mnu5mk_Click();
    // Returns false (and changes nothing) when generation was refused.
    bool generateCombinations(int s, int n);
    void MSFlexGrid1_MouseDown(int button);
    void pmnucopy_click();
    void pmnupaste_click();
    void pmnudelete_click();
    void pmnucancell_click();
    void Command5_Click();
    void Command3_Click();
    void Command4_Click();
    void Command6_Click();
    void sortCombinations();
    void reverseWinEntries();
    void clearAllData();
    void HScroll1_Change();
    void showDraw(int k);   // the draw display of the winning-numbers frame

    // ---- analysis views and tab switching (form1_views.cpp) -------------------
    void SSTab1_Click();
    void buildTotalsGrid();
    void scoreTotalsRow(int row);
    void MSFlexGrid2_MouseDown(int button);
    void psmnu1_click();
    void psmnu2_click();
    void psmnu3_click();
    void psmnu4_click();
    void psmnu6_click();
    void psmnu7_click();
    void psmnu8_click();
    void psmnu9_click();
    void pbsort(int column);
    void pmnucopy2_click();
    void pmnucancell2_click();
    void setupMarkSheetList();
    void clearMarkSheet();
    void drawMarkSheetFigures();
    void copyCombinationsToMarkSheet();
    void markFiveCombinations(int first);
    void MSFlexGrid3_Click();
    void buildPredrawGrid();
    void computePredrawAnalysis();
    void MSFlexGrid5_MouseDown(int button);
    // Pop-up menu 3's sort entries: ptsmnu<column><s|k>_click.
    void ptsmnuSort(int column, bool ascending);
    void pmnucopy3_click();
    void pmnucancell3_click();

    // ---- the tab "確率・検証" (form1_odds.cpp) ----------------------------------
    // The snapshot of the table and its figures; a refused row shows its message.
    void enterOddsTab();
    // The spin boxes of the back-test range; a range outside the history is ignored.
    void oddsRangeChanged(int from, int to);
    // A prize amount typed on the tab (grade 1..4, whole yen).
    void oddsPrizeChanged(int grade, std::int64_t yen);

    // ---- output, registration, links (form1_output.cpp) -----------------------
    void pmnusave_click();
    void pmnuprt_click();
    void pmnuprt2_click();
    void pmnuprt3_click();
    void mnuatoroku_Click();
    void mnuanet_Click();
    void refreshLinks();
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Command2_Click();
    void Command7_Click();
    void Command8_Click();

    // ---- shared state ---------------------------------------------------------
    platform::Platform& platform;
    std::string startdir, editdir, mydir, datadir, calcdir, browsdir;
    int maxn = 0;
    MsgValue msg;
    int tdataon = 0;
    int chg = 0;

    history::DrawHistory history;
    history::PairTable pairCounts{};
    history::PairTable pairCountsBefore{};
    history::RecentRanking recentRanking{};

    TextGrid MSFlexGrid1;                  // the CombinationTable
    TextGrid& combinationTable() { return MSFlexGrid1; }
    const TextGrid& combinationTable() const { return MSFlexGrid1; }
    TextGrid MSFlexGrid2;                  // totals view
    TextGrid MSFlexGrid3;                  // mark-sheet list
    std::array<TextGrid, 5> MSFlexGrid4;   // mark-sheet figures
    TextGrid MSFlexGrid5;                  // pre-draw analysis view

    std::string Label1;                    // "第" + maxn + "回:" + draw text
    std::array<std::string, 5> Label3;     // draw number and prize counts
    ScrollBarState HScroll1;
    int SSTab1 = kTabWins;                 // the current tab
    LinkControls links;
    MarkSheetControls markSheet;
    analysis::OddsPage oddsPage;           // the tab "確率・検証"

    // Bad history lines already reported, so a reload does not repeat the message.
    std::vector<history::LineProblem> reportedProblems;

    // ---- private state of the areas (each area owns its block) ----------------
    // views: the pre-draw analysis keeps only what its scores need.
    std::unique_ptr<views::PredrawState> predraw;

private:
    bool closeRequested_ = false;
    // start-up (form1.cpp): one step under the start-up error handler.
    bool runStartupStep(const std::function<void()>& step, bool repairEnvironment);
    void repairEnvironmentFile();
};

}  // namespace kazuban::app
