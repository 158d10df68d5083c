#pragma once
// Form1: the main window's state and every event handler, without a toolkit.
// A front end (the Qt window, the CLI, a test) calls a handler, then redraws
// from the state. Each handler is a few lines that call the logic of its
// folder; the handlers are implemented in one file per area:
//   form1.cpp          start-up, exit, settings, history loading
//   form1_combos.cpp   the combination table and the first tab's commands
//   form1_views.cpp    totals, mark-sheet and pre-draw views, tab switching
//   form1_output.cpp   CSV export, printing, registration, analysis links
//   form1_draw_entry.cpp  a new draw entered through the form
//   form1_odds.cpp     the tab "確率・検証" (odds and back-test)
//   form1_undo.cpp     undo and redo of the combination table
//   form1_print.cpp    the print preview of tabs 0, 1 and 4
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "analysis/odds_page.h"
#include "combos/undo_history.h"
#include "grid/text_grid.h"
#include "history/draw_history.h"
#include "history/statistics.h"
#include "platform/platform.h"
#include "views/links.h"
#include "views/marksheet.h"

namespace kazuban::views {
struct PredrawState;
}

namespace kazuban::app {

using grid::TextGrid;

// The answer of the last error message box (1 = OK), or a message text being
// composed, or nothing yet.
using MsgValue = std::variant<std::monostate, std::string, int>;

// Tabs of SSTab1. The tabs beyond the classic five are drawn by their own
// widgets: kTabOdds is "確率・検証", kTabCharts is "統計グラフ".
enum Tab : int {
    kTabWins = 0,
    kTabTotals = 1,
    kTabMarkSheet = 2,
    kTabLinks = 3,
    kTabPredraw = 4,
    kTabOdds = 5,
    kTabCharts = 6
};

struct ScrollBarState {
    int min = 1, max = 1, value = 1;
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
    void mnufclose_Click();   // ◇ファイル → 終了
    void mnuktoroku_Click();  // ◇環境 → 設定
    // Reloads atarimgrp.txt into `history`, sets maxn and tdataon.
    void loadWinningNumbers();
    // True once a handler decided that the program ends; the front end closes.
    bool closeRequested() const { return closeRequested_; }
    void requestClose() { closeRequested_ = true; }
    bool msgIsOne() const;

    // ---- statistics (form1.cpp) -----------------------------------------------
    void buildPairCounts();
    void buildRecentRanking();

    // ---- combination table and tab 0 (form1_combos.cpp) -----------------------
    void buildCombinationTable();
    int hasCombinationData() const;
    int validateCombinations();
    void recalculateCombinationTable();
    void showPrizeCounts(int d);
    // The clear-or-append question: the start row, or nullopt when the command ends.
    std::optional<int> askClearOrAppend();
    // The same question without its effect: the start row and whether the
    // table is to be emptied first (Yes), or nullopt when the command ends.
    struct ClearOrAppend {
        int start = 0;
        bool clear = false;
    };
    std::optional<ClearOrAppend> askClearOrAppendFirst();
    void clearForNewData();  // the effect of Yes
    void evaluateWinEntries();
    int winEntryLastColumn() const;  // floor(maxn * 0.1) + 20, widened as needed
    void mnudopen_Click();           // ◇ファイル → 呼出し
    void mnudsave_Click();           // ◇ファイル → 保存
    void mnu10mk_Click();            // ◇簡易ﾃﾞｰﾀ作成 → 10個
    void mnu5mk_Click();             // ◇簡易ﾃﾞｰﾀ作成 → 5個
    // Returns false (and changes nothing) when generation was refused.
    bool generateCombinations(int s, int n);
    void MSFlexGrid1_MouseDown(int button);  // a click on the combination table
    void pmnucopy_click();                   // pop-up menu 1 ｺﾋﾟｰ
    void pmnupaste_click();                  // pop-up menu 1 貼付
    void pmnudelete_click();                 // pop-up menu 1 削除
    void pmnucancell_click();                // pop-up menu 1 ｷｬﾝｾﾙ
    void Command5_Click();                   // button ￥ (当選回数確認)
    void Command3_Click();                   // button △ (データ整列)
    void Command4_Click();                   // button ⇔ (昇順・降順切替)
    void Command6_Click();                   // button AC (All Clear)
    void sortCombinations();
    void reverseWinEntries();
    void clearAllData();
    void HScroll1_Change();  // the draw selector moved
    void showDraw(int k);    // the draw display of the winning-numbers frame

    // ---- undo and redo of the combination table (form1_undo.cpp) -------------
    // "元に戻す" and "やり直し": the texts come back exactly and the table is
    // checked and evaluated again as "￥" does.
    void mnuundo_Click();
    void mnuredo_Click();

    // ---- analysis views and tab switching (form1_views.cpp) -------------------
    void SSTab1_Click();  // a tab was chosen
    void buildTotalsGrid();
    void scoreTotalsRow(int row);
    void MSFlexGrid2_MouseDown(int button);  // a click on the totals view
    void psmnu1_click();                     // pop-up menu 2 整列 → 組合わせﾃﾞｰﾀ
    void psmnu2_click();                     // pop-up menu 2 整列 → 合 計
    void psmnu3_click();                     // pop-up menu 2 整列 → 当選回数
    void psmnu4_click();                     // pop-up menu 2 整列 → 最新当選回
    void psmnu6_click();                     // pop-up menu 2 整列 → 奇：偶
    void psmnu7_click();                     // pop-up menu 2 整列 → P相性率
    void psmnu8_click();                     // pop-up menu 2 整列 → T相性率
    void psmnu9_click();                     // pop-up menu 2 整列 → 5分割分布
    void pbsort(int column);
    void pmnucopy2_click();     // pop-up menu 2 ｺﾋﾟｰ
    void pmnucancell2_click();  // pop-up menu 2 ｷｬﾝｾﾙ
    void setupMarkSheetList();
    void clearMarkSheet();
    void drawMarkSheetFigures();
    void copyCombinationsToMarkSheet();
    void markFiveCombinations(int first);
    void MSFlexGrid3_Click();  // a click on the mark-sheet list
    void buildPredrawGrid();
    void computePredrawAnalysis();
    void MSFlexGrid5_MouseDown(int button);  // a click on the pre-draw view
    // Pop-up menu 3 整列 → a column → 昇順 or 降順: ptsmnu<column><s|k>_click.
    void ptsmnuSort(int column, bool ascending);
    void pmnucopy3_click();     // pop-up menu 3 ｺﾋﾟｰ
    void pmnucancell3_click();  // pop-up menu 3 ｷｬﾝｾﾙ

    // ---- the tab "確率・検証" (form1_odds.cpp) ----------------------------------
    // The snapshot of the table and its figures; a refused row shows its message.
    void enterOddsTab();
    // The spin boxes of the back-test range; a range outside the history is ignored.
    void oddsRangeChanged(int from, int to);
    // A prize amount typed on the tab (grade 1..4, whole yen).
    void oddsPrizeChanged(int grade, std::int64_t yen);

    // ---- output, registration, links (form1_output.cpp) -----------------------
    void pmnusave_click();  // pop-up menu 1 保存
    void pmnuprt_click();   // pop-up menu 1 印刷
    void pmnuprt2_click();  // pop-up menu 2 印刷
    void pmnuprt3_click();  // pop-up menu 3 印刷
    // "印刷プレビュー…" of the three pop-up menus (form1_print.cpp).
    void pmnupreview_click();   // pop-up menu 1 印刷プレビュー…
    void pmnupreview2_click();  // pop-up menu 2 印刷プレビュー…
    void pmnupreview3_click();  // pop-up menu 3 印刷プレビュー…
    void mnuatoroku_Click();    // ◇当選番号 → 登　録
    void mnuanet_Click();       // ◇当選番号 → ｵﾝﾗｲﾝ取得
    // "入力…": the next draw's numbers through the entry form, appended to
    // atarimgrp.txt, then the history reloaded as the draw selector does.
    void mnuanyuryoku_Click();
    void refreshLinks();
    void Command1_Click(int index);  // button Go! + label of link `index`
    void Option1_Click(int index);   // the round edit button beside link `index`
    void Command2_Click();           // button 編集を保存
    void Command7_Click();           // button キャンセル
    void Command8_Click();           // button 初期値に戻す

    // ---- shared state ---------------------------------------------------------
    platform::Platform& platform;
    std::string startdir, editdir, mydir, datadir, calcdir, browsdir;
    int maxn = 0;
    MsgValue msg;
    int tdataon = 0;
    int chg = 0;

    history::DrawHistory history;
    // Counts the loads of the history, so a view built from it knows when to rebuild.
    unsigned historyRevision = 0;
    history::PairTable pairCounts{};
    history::RecentRanking recentRanking{};

    TextGrid MSFlexGrid1;             // the CombinationTable
    combos::UndoHistory undoHistory;  // the steps of the commands that changed it
    TextGrid& combinationTable() { return MSFlexGrid1; }
    const TextGrid& combinationTable() const { return MSFlexGrid1; }
    TextGrid MSFlexGrid2;                 // totals view
    TextGrid MSFlexGrid3;                 // mark-sheet list
    std::array<TextGrid, 5> MSFlexGrid4;  // mark-sheet figures
    TextGrid MSFlexGrid5;                 // pre-draw analysis view

    std::string Label1;                 // "第" + maxn + "回:" + draw text
    std::array<std::string, 5> Label3;  // draw number and prize counts
    ScrollBarState HScroll1;
    int SSTab1 = kTabWins;  // the current tab
    views::LinkControls links;
    views::MarkSheetControls markSheet;
    analysis::OddsPage oddsPage;  // the tab "確率・検証"

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
