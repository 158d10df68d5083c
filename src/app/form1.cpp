#include "app/form1.h"

#include <cmath>
#include <exception>
#include <system_error>

#include "config/env_file.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {

namespace {

constexpr const char* kConfirmExit = " 終了します。 よろしいですか？";
constexpr const char* kConfirmExitUnsaved =
    " 組合せデータに、保存していない変更があります。\r\n"
    " 終了します。 よろしいですか？";

}  // namespace

std::string missingDataFileMessage(const std::string& fileName, const std::filesystem::path& folder, bool classicText) {
    if (classicText) return fileName + " ﾌｧｲﾙを Kazuban.exe と同じﾌｫﾙﾀﾞｰに置いて下さい";
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    return fileName + " ﾌｧｲﾙを次のﾌｫﾙﾀﾞｰに置いて下さい\n" + text::utf8FromPath(ec ? folder : absolute);
}

Form1::Form1(platform::Platform& p)
    : state_(p),
      runner_(state_),
      frame_(state_),
      wins_(state_, frame_),
      markSheet_(state_),
      totals_(state_, wins_, markSheet_.list()),
      links_(state_),
      predraw_(state_),
      odds_(state_),
      popularity_(state_),
      stats_(state_),
      design_(state_, wins_),
      entry_(state_, frame_),
      import_(state_, frame_),
      ledger_(state_) {
    // The win entries follow a new history first; the frame and the views
    // after them read the entries.
    for (ChangeObserver* o : std::initializer_list<ChangeObserver*>{&wins_, &frame_, &totals_, &markSheet_, &predraw_,
                                                                    &odds_, &popularity_, &stats_, &ledger_})
        runner_.addObserver(o);
    runner_.watchSelection(&totals_.grid());
    runner_.watchSelection(&markSheet_.list());
    runner_.watchSelection(&predraw_.grid());
}

Form1::~Form1() = default;

void Form1::run(const std::function<void()>& command, int origin) { runner_.run(command, Undo::None, origin); }

// ---- start-up -------------------------------------------------------------

bool Form1::Form_Load(const std::filesystem::path& folder, bool requireEnvironmentFile) {
    State& s = state_;
    platform::Platform& platform = s.platform;
    // Steps 1-3: both data files must be in the folder; when the history is
    // missing that is the only message, whatever else is missing.
    const std::filesystem::path here = folder.empty() ? platform.currentDirectory() : folder;
    s.startdir = here;
    if (!platform.fileExists(s.historyFile())) {
        s.message(missingDataFileMessage("atarimgrp.txt", here), platform::Icon::Critical);
        s.requestClose();
        return false;
    }
    const std::filesystem::path envPath = here / config::kEnvironmentFileName;
    const bool haveEnvironment = platform.fileExists(envPath);
    if (!haveEnvironment && requireEnvironmentFile) {
        s.message(missingDataFileMessage(config::kEnvironmentFileName, here), platform::Icon::Critical);
        s.requestClose();
        return false;
    }
    platform.seedFromClock();  // step 4

    // Step 6.
    s.mydir = here;

    // Steps 7-10: the four paths and the nine links.
    const bool readOk = runStartupStep(
        [&] {
            if (!haveEnvironment) return;  // the CLI runs without one: everything stays empty
            const auto env = config::readEnvironmentFile(envPath, config::ReadRule::StartUp);
            s.editdir = env.editor();
            s.datadir = text::pathFromUtf8(env.dataFolder());
            s.calcdir = env.calcSoft();
            s.browsdir = env.browser();
            std::array<std::string, 9> texts;
            for (int i = 0; i < config::kLinkCount; ++i) texts[static_cast<std::size_t>(i)] = env.link(i);
            links_.setTexts(texts);
        },
        haveEnvironment);
    if (!readOk) return false;

    // Step 11. The loader reports its own failures; without a history there
    // is nothing the window could show, so the program ends.
    const bool loaded = runStartupStep([&] { s.loadWinningNumbers(); }, haveEnvironment);
    if (!loaded || s.closeRequested() || s.tdataon == 0) {
        s.requestClose();
        return false;
    }

    const bool ok = runStartupStep([&] { s.buildPairCounts(); }, haveEnvironment) &&     // 12
                    runStartupStep([&] { s.buildRecentRanking(); }, haveEnvironment) &&  // 13
                    runStartupStep(
                        [&] {  // 14
                            wins_.buildCombinationTable();
                            s.MSFlexGrid1.setFontName("ＭＳ ゴシック");
                            s.MSFlexGrid1.setFontSize(11.25);
                        },
                        haveEnvironment) &&
                    runStartupStep([&] { totals_.buildTotalsGrid(); }, haveEnvironment) &&  // 15
                    runStartupStep(
                        [&] {  // 16
                            markSheet_.setupMarkSheetList();
                            markSheet_.drawMarkSheetFigures();
                        },
                        haveEnvironment) &&
                    runStartupStep([&] { s.SSTab1 = kTabWins; }, haveEnvironment) &&  // 17
                    runStartupStep(
                        [&] {  // 18
                            // A highlight only: columns 1 .. Int(maxn * 0.1) + 10 of the current row.
                            s.MSFlexGrid1.setCol(1);
                            s.MSFlexGrid1.setRowSel(s.MSFlexGrid1.row());
                            s.MSFlexGrid1.setColSel(static_cast<int>(std::floor(s.maxn * 0.1)) + 10);
                        },
                        haveEnvironment) &&
                    // The draw selector starts at its left end, which selects the latest
                    // draw, so the frame shows that draw from the start.
                    runStartupStep([&] { frame_.showLatest(); }, haveEnvironment);
    if (!ok || s.closeRequested()) {
        s.requestClose();
        return false;
    }
    runner_.announceAll();
    return true;
}

bool Form1::runStartupStep(const std::function<void()>& step, bool repairEnvironment) {
    // A failed step is reported, the environment file is rewritten from what
    // was read, and the step runs once more; a second failure ends the program.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            step();
            return true;
        } catch (...) {
            state_.message(errorText(std::current_exception()));
        }
        if (attempt == 0 && repairEnvironment) repairEnvironmentFile();
    }
    state_.requestClose();
    return false;
}

void Form1::repairEnvironmentFile() {
    // The link texts that were read are kept: only links never read are empty.
    try {
        config::writeEnvironmentFile(state_.startdir / config::kEnvironmentFileName, state_.editdir,
                                     text::utf8FromPath(state_.datadir), state_.calcdir, state_.browsdir,
                                     links_.texts());
    } catch (...) {
        state_.message(errorText(std::current_exception()));
    }
}

void Form1::mnufclose_Click() {
    run([this] {
        // A table changed since it was loaded or saved says so in the question.
        const bool unsaved = wins_.hasUnsavedChanges();
        if (state_.platform.messageBox(unsaved ? kConfirmExitUnsaved : kConfirmExit,
                                       unsaved ? platform::Icon::Exclamation : platform::Icon::None,
                                       platform::Buttons::OkCancel) == platform::kOk)
            state_.requestClose();
    });
}

// ---- tab 0 and the frame ----------------------------------------------------------

void Form1::mnudopen_Click() {
    runner_.run([this] { wins_.openFile(); }, Undo::Step);
}
void Form1::mnudsave_Click() {
    run([this] { wins_.saveFile(); });
}
void Form1::mnurecent_Click(int index) {
    runner_.run([this, index] { wins_.openRecent(index); }, Undo::Step);
}
void Form1::mnu10mk_Click() {
    runner_.run([this] { wins_.generate(10); }, Undo::Step);
}
void Form1::mnu5mk_Click() {
    runner_.run([this] { wins_.generate(5); }, Undo::Step);
}
void Form1::mnuundo_Click() {
    run([this] { wins_.undo(); });
}
void Form1::mnuredo_Click() {
    run([this] { wins_.redo(); });
}

bool Form1::MSFlexGrid1_MouseDown(int button) {
    bool menu = false;
    run([&] { menu = wins_.mouseDown(button); }, kTabWins);
    return menu;
}

void Form1::pmnucopy_click() {
    run([this] { wins_.copyRows(); }, kTabWins);
}
void Form1::pmnupaste_click() {
    runner_.run([this] { wins_.pasteRows(); }, Undo::Step, kTabWins);
}
void Form1::pmnudelete_click() {
    runner_.run([this] { wins_.deleteRows(); }, Undo::Step, kTabWins);
}
void Form1::pmnusave_click() {
    run([this] { wins_.saveCsv(); }, kTabWins);
}
void Form1::pmnuprt_click() {
    run([this] { wins_.print(); }, kTabWins);
}
void Form1::pmnucancell_click() {}
void Form1::pmnupreview_click() {
    run([this] { wins_.preview(); }, kTabWins);
}
void Form1::Command5_Click() {
    run([this] { wins_.checkWins(); }, kTabWins);
}
void Form1::Command3_Click() {
    runner_.run([this] { wins_.sortTable(); }, Undo::Step, kTabWins);
}
void Form1::Command4_Click() {
    run([this] { wins_.reverseWinEntries(); }, kTabWins);
}
void Form1::Command6_Click() {
    runner_.run(
        [this] {
            // The views built from the table are emptied with it.
            if (!wins_.clearAll()) return;
            totals_.grid().clear();
            markSheet_.clearAfterAllClear();
        },
        Undo::Step, kTabWins);
}
bool Form1::MSFlexGrid1_Edit(int row, const std::string& text) {
    bool taken = false;
    runner_.run([&] { taken = wins_.editCombination(row, text); }, Undo::Step, kTabWins);
    return taken;
}
void Form1::HScroll1_Change(int value) {
    run([this, value] { frame_.HScroll1_Change(value); });
}

// ---- the tabs -------------------------------------------------------------------------

void Form1::SSTab1_Click(int tab) {
    run([this, tab] {
        state_.SSTab1 = tab;
        predraw_.releaseScratch();
        switch (tab) {
        case kTabTotals: totals_.enter(); break;
        case kTabMarkSheet: markSheet_.enter(); break;
        case kTabLinks: links_.refreshLinks(); break;
        case kTabPredraw: predraw_.computePredrawAnalysis(); break;
        case kTabOdds:
            odds_.enter();
            popularity_.enter();
            break;
        case kTabCharts: stats_.enter(); break;
        default: break;
        }
    });
}

bool Form1::MSFlexGrid2_MouseDown(int button) {
    bool menu = false;
    run([&] { menu = totals_.mouseDown(button); }, kTabTotals);
    return menu;
}

void Form1::psmnu1_click() {
    runner_.run([this] { totals_.sortByCombination(); }, Undo::Step, kTabTotals);
}
void Form1::psmnu2_click() {
    runner_.run([this] { totals_.pbsort(2); }, Undo::Step, kTabTotals);
}
void Form1::psmnu3_click() {
    runner_.run([this] { totals_.pbsort(3); }, Undo::Step, kTabTotals);
}
void Form1::psmnu4_click() {
    runner_.run([this] { totals_.pbsort(4); }, Undo::Step, kTabTotals);
}
void Form1::psmnu6_click() {
    runner_.run([this] { totals_.pbsort(6); }, Undo::Step, kTabTotals);
}
void Form1::psmnu7_click() {
    runner_.run([this] { totals_.pbsort(7); }, Undo::Step, kTabTotals);
}
void Form1::psmnu8_click() {
    runner_.run([this] { totals_.pbsort(8); }, Undo::Step, kTabTotals);
}
void Form1::psmnu9_click() {
    runner_.run([this] { totals_.pbsort(9); }, Undo::Step, kTabTotals);
}
void Form1::pmnucopy2_click() {
    run([this] { totals_.copyRows(); }, kTabTotals);
}
void Form1::pmnuprt2_click() {
    run([this] { totals_.print(); }, kTabTotals);
}
void Form1::pmnucancell2_click() {}
void Form1::pmnupreview2_click() {
    run([this] { totals_.preview(); }, kTabTotals);
}

void Form1::MSFlexGrid3_Click() {
    run([this] { markSheet_.MSFlexGrid3_Click(); }, kTabMarkSheet);
}

void Form1::Command1_Click(int index) {
    run([this, index] { links_.Command1_Click(index); }, kTabLinks);
}
void Form1::Option1_Click(int index) {
    run([this, index] { links_.Option1_Click(index); }, kTabLinks);
}
void Form1::Text1_Change(int index, const std::string& text) {
    run([this, index, &text] { links_.Text1_Change(index, text); }, kTabLinks);
}
void Form1::Command2_Click() {
    run([this] { links_.Command2_Click(); }, kTabLinks);
}
void Form1::Command7_Click() {
    run([this] { links_.Command7_Click(); }, kTabLinks);
}
void Form1::Command8_Click() {
    run([this] { links_.Command8_Click(); }, kTabLinks);
}

bool Form1::MSFlexGrid5_MouseDown(int button) {
    bool menu = false;
    run([&] { menu = predraw_.mouseDown(button); }, kTabPredraw);
    return menu;
}

void Form1::ptsmnuSort(int column, bool ascending) {
    run([this, column, ascending] { predraw_.sort(column, ascending); }, kTabPredraw);
}
void Form1::pmnucopy3_click() {
    run([this] { predraw_.copyRows(); }, kTabPredraw);
}
void Form1::pmnuprt3_click() {
    run([this] { predraw_.print(); }, kTabPredraw);
}
void Form1::pmnucancell3_click() {}
void Form1::pmnupreview3_click() {
    run([this] { predraw_.preview(); }, kTabPredraw);
}

void Form1::oddsRangeChanged(int from, int to) {
    run([this, from, to] { odds_.rangeChanged(from, to); }, kTabOdds);
}
void Form1::oddsRangeAfterMadeRows() {
    run([this] { odds_.rangeAfterMadeRows(); }, kTabOdds);
}
void Form1::oddsPrizeChanged(int grade, std::int64_t yen) {
    run([this, grade, yen] { odds_.prizeChanged(grade, yen); }, kTabOdds);
}
void Form1::statsWindowChanged(int window) {
    run([this, window] { stats_.setWindow(window); }, kTabCharts);
}

void Form1::designFinished(DesignRun done) {
    run([this, &done] { design_.finish(std::move(done)); }, kTabDesign);
}
void Form1::designSendToTable() {
    runner_.run([this] { design_.sendToTable(); }, Undo::Step, kTabDesign);
}
void Form1::designSave() {
    run([this] { design_.save(); }, kTabDesign);
}

// ---- ◇当選番号 -----------------------------------------------------------------------

void Form1::mnuatoroku_Click() {
    run([this] { entry_.openInEditor(); });
}
void Form1::mnuanet_Click() {
    run([this] { entry_.openResultsSite(); });
}
void Form1::mnuanyuryoku_Click() {
    run([this] { entry_.enterNextDraw(); });
}
void Form1::mnuatorikomi_Click() {
    run([this] { import_.importFiles(); });
}
void Form1::mnuasaishin_Click() {
    run([this] { import_.fetchLatest(); });
}

// ---- 購入記録 -------------------------------------------------------------------

std::optional<std::vector<std::array<int, 5>>> Form1::ledgerCombosFromTable(int first, int last) {
    std::optional<std::vector<std::array<int, 5>>> out;
    run(
        [&] {
            std::vector<std::string> texts;
            for (int r = 1; r <= 1000; ++r)
                texts.push_back(first == 0 || (r >= first && r <= last) ? state_.MSFlexGrid1.cell(r, 1) : "");
            out = ledger_.combosOf(texts);
        },
        kTabLedger);
    return out;
}

std::optional<std::vector<std::array<int, 5>>> Form1::ledgerCombosFromDesign() {
    std::optional<std::vector<std::array<int, 5>>> out;
    run(
        [&] {
            std::vector<std::string> texts;
            if (design_.last())
                for (design::Ticket t : design_.last()->result.tickets) texts.push_back(design::ticketText(t));
            out = ledger_.combosOf(texts);
        },
        kTabLedger);
    return out;
}

bool Form1::ledgerAdd(const ledger::Purchase& purchase) {
    bool added = false;
    run([&] { added = ledger_.add(purchase); }, kTabLedger);
    return added;
}

void Form1::ledgerSetReceived(const std::vector<std::size_t>& rows, int day) {
    run([&] { ledger_.setReceived(rows, day); }, kTabLedger);
}

void Form1::ledgerDelete(const std::vector<std::size_t>& rows) {
    run([&] { ledger_.remove(rows); }, kTabLedger);
}

void Form1::ledgerUndo() {
    run([&] { ledger_.undo(); }, kTabLedger);
}

void Form1::ledgerReload() {
    run([&] { ledger_.reload(); }, kTabLedger);
}

}  // namespace kazuban::app
