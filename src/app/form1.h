#pragma once
// Form1: the main window without a toolkit, as a facade. It keeps the
// handler names the program has always had (mnudopen_Click, Command5_Click,
// pmnucopy_click, ...); each runs through the one command runner and
// forwards to the page that owns the work:
//   State          what every page shares (state.h)
//   CommandRunner  undo steps, failures, change announcements (command_runner.h)
//   DrawFrame      the winning-numbers frame and the draw selector
//   WinsPage       tab 0: the combination table and its commands
//   TotalsPage, MarkSheetPage, LinksPage, PredrawPage   tabs 1 to 4
//   OddsPage, StatsPage   the tabs "確率・検証" and "統計グラフ"
//   DesignPage     the tab "組合せ設計"
//   EntryPage      the menu ◇当選番号: the editor, the results site, the entry form
//   ImportPage     the menu ◇当選番号: results files and the bank's latest results
//   LedgerPage     the tab "購入記録": the tickets bought, checked after every draw
// A front end (the Qt window, the CLI, a test) calls handlers with their
// inputs as parameters and observes the runner to redraw.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/command_runner.h"
#include "app/design_page.h"
#include "app/draw_frame.h"
#include "app/entry_page.h"
#include "app/import_page.h"
#include "app/ledger_page.h"
#include "app/links_page.h"
#include "app/marksheet_page.h"
#include "app/odds_page.h"
#include "app/popularity_page.h"
#include "app/predraw_page.h"
#include "app/state.h"
#include "app/stats_page.h"
#include "app/totals_page.h"
#include "app/wins_page.h"

namespace kazuban::app {

#ifdef _WIN32
inline constexpr bool kClassicMissingFileText = true;
#else
inline constexpr bool kClassicMissingFileText = false;
#endif
// The start-up message for a data file (atarimgrp.txt, Kazuban.ini) missing
// from `folder`. The classic text places it beside Kazuban.exe, which is
// right on Windows only; elsewhere the folder searched is named.
std::string missingDataFileMessage(const std::string& fileName, const std::filesystem::path& folder,
                                   bool classicText = kClassicMissingFileText);

class Form1 {
public:
    explicit Form1(platform::Platform& platform);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- the parts ------------------------------------------------------------
    State& state() { return state_; }
    const State& state() const { return state_; }
    CommandRunner& runner() { return runner_; }
    DrawFrame& frame() { return frame_; }
    const DrawFrame& frame() const { return frame_; }
    WinsPage& wins() { return wins_; }
    TotalsPage& totals() { return totals_; }
    const TotalsPage& totals() const { return totals_; }
    MarkSheetPage& markSheet() { return markSheet_; }
    const MarkSheetPage& markSheet() const { return markSheet_; }
    LinksPage& links() { return links_; }
    const LinksPage& links() const { return links_; }
    PredrawPage& predraw() { return predraw_; }
    const PredrawPage& predraw() const { return predraw_; }
    OddsPage& odds() { return odds_; }
    const OddsPage& odds() const { return odds_; }
    const PopularityPage& popularity() const { return popularity_; }
    PopularityPage& popularity() { return popularity_; }
    StatsPage& stats() { return stats_; }
    const DesignPage& design() const { return design_; }
    LedgerPage& ledger() { return ledger_; }
    const LedgerPage& ledger() const { return ledger_; }
    TextGrid& combinationTable() { return state_.MSFlexGrid1; }
    const TextGrid& combinationTable() const { return state_.MSFlexGrid1; }
    bool closeRequested() const { return state_.closeRequested(); }

    // A command of a front end that no handler below names (a tab's own
    // export): it runs through the runner like every handler.
    void run(const std::function<void()>& command, int origin = -1);

    // ---- start-up and exit ---------------------------------------------------
    // Runs the start-up sequence in `folder` (empty: the current directory).
    // Returns false when the program must end (a missing file, a fatal load).
    // The CLI starts without Kazuban.ini (requireEnvironmentFile = false).
    bool Form_Load(const std::filesystem::path& folder = {}, bool requireEnvironmentFile = true);
    void mnufclose_Click();  // ◇ファイル → 終了

    // ---- tab 0 and the frame ---------------------------------------------------
    void mnudopen_Click();  // ◇ファイル → 呼出し
    void mnudsave_Click();  // ◇ファイル → 保存
    // ◇ファイル → 最近使ったファイル: entry `index` (0 = newest), loaded as 呼出し loads.
    void mnurecent_Click(int index);
    void mnu10mk_Click();  // ◇簡易ﾃﾞｰﾀ作成 → 10個
    void mnu5mk_Click();   // ◇簡易ﾃﾞｰﾀ作成 → 5個
    void mnuundo_Click();  // ◇編集 → 元に戻す
    void mnuredo_Click();  // ◇編集 → やり直し
    // A press on the combination table: true when pop-up menu 1 is to open.
    bool MSFlexGrid1_MouseDown(int button);
    void pmnucopy_click();            // pop-up menu 1 ｺﾋﾟｰ
    void pmnupaste_click();           // 貼付
    void pmnudelete_click();          // 削除
    void pmnusave_click();            // 保存 (CSV)
    void pmnuprt_click();             // 印刷
    void pmnucancell_click();         // ｷｬﾝｾﾙ
    void pmnupreview_click();         // 印刷プレビュー…
    void Command5_Click();            // ￥ (当選回数確認)
    void Command3_Click();            // △ (データ整列)
    void Command4_Click();            // ⇔ (昇順・降順切替)
    void Command6_Click();            // AC (All Clear)
    void HScroll1_Change(int value);  // the draw selector moved (1 = the latest draw)
    // A text typed into the combination cell of `row` (F2 or a double click):
    // one undo step; true when it was taken.
    bool MSFlexGrid1_Edit(int row, const std::string& text);

    // ---- the tabs ----------------------------------------------------------------
    void SSTab1_Click(int tab);              // a tab was chosen
    bool MSFlexGrid2_MouseDown(int button);  // true: pop-up menu 2 opens
    void psmnu1_click();                     // pop-up menu 2 整列 → 組合わせﾃﾞｰﾀ
    void psmnu2_click();                     // 整列 → 合 計
    void psmnu3_click();                     // 整列 → 当選回数
    void psmnu4_click();                     // 整列 → 最新当選回
    void psmnu6_click();                     // 整列 → 奇：偶
    void psmnu7_click();                     // 整列 → P相性率
    void psmnu8_click();                     // 整列 → T相性率
    void psmnu9_click();                     // 整列 → 5分割分布
    void pmnucopy2_click();
    void pmnuprt2_click();
    void pmnucancell2_click();
    void pmnupreview2_click();
    void MSFlexGrid3_Click();                               // a click on the mark-sheet list
    void Command1_Click(int index);                         // Go! + the label of link `index`
    void Option1_Click(int index);                          // the edit toggle beside link `index`
    void Text1_Change(int index, const std::string& text);  // a link text typed
    void Command2_Click();                                  // 編集を保存
    void Command7_Click();                                  // キャンセル
    void Command8_Click();                                  // 初期値に戻す
    bool MSFlexGrid5_MouseDown(int button);                 // true: pop-up menu 3 opens
    // Pop-up menu 3 整列 → a column → 昇順 or 降順: ptsmnu<column><s|k>_click.
    void ptsmnuSort(int column, bool ascending);
    void pmnucopy3_click();
    void pmnuprt3_click();
    void pmnucancell3_click();
    void pmnupreview3_click();
    void oddsRangeChanged(int from, int to);             // 確率・検証: the back-test range typed
    void oddsPrizeChanged(int grade, std::int64_t yen);  // 確率・検証: a prize amount typed
    void oddsRangeAfterMadeRows();                       // 確率・検証: 作成後の回で検証
    void statsWindowChanged(int window);                 // 統計グラフ: the draws counted (0 = all)
    // 組合せ設計: the run handed back by the thread that made it (the tab
    // runs app::runDesignWork); 組合せ表へ送る; 保存….
    void designFinished(DesignRun done);
    void designSendToTable();
    void designSave();

    // 購入記録: the combinations of the table's data numbers first..last (all
    // rows when first is 0) or of 組合せ設計's result, validated as the table
    // validates them (a refused row shows its message: nullopt); adding a
    // purchase, marking prizes received (day 0: not received), deleting
    // after a question, 元に戻す, 読み直す.
    std::optional<std::vector<std::array<int, 5>>> ledgerCombosFromTable(int first, int last);
    std::optional<std::vector<std::array<int, 5>>> ledgerCombosFromDesign();
    bool ledgerAdd(const ledger::Purchase& purchase);
    void ledgerSetReceived(const std::vector<std::size_t>& rows, int day);
    void ledgerDelete(const std::vector<std::size_t>& rows);
    void ledgerUndo();
    void ledgerReload();

    // ---- ◇当選番号 ---------------------------------------------------------------
    void mnuatoroku_Click();    // 登　録
    void mnuanet_Click();       // ｵﾝﾗｲﾝ取得
    void mnuanyuryoku_Click();  // 入力…
    void mnuatorikomi_Click();  // 取り込み…
    void mnuasaishin_Click();   // 最新結果を取得

private:
    using Undo = CommandRunner::Undo;
    bool runStartupStep(const std::function<void()>& step, bool repairEnvironment);
    void repairEnvironmentFile();

    State state_;
    CommandRunner runner_;
    DrawFrame frame_;
    WinsPage wins_;
    MarkSheetPage markSheet_;
    TotalsPage totals_;
    LinksPage links_;
    PredrawPage predraw_;
    OddsPage odds_;
    PopularityPage popularity_;
    StatsPage stats_;
    DesignPage design_;
    EntryPage entry_;
    ImportPage import_;
    LedgerPage ledger_;
};

}  // namespace kazuban::app
