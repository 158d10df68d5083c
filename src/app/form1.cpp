#include "app/form1.h"

#include <cmath>
#include <exception>
#include <filesystem>

#include "config/env_file.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "views/predraw.h"

namespace kazuban::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHistoryFileName = "atarimgrp.txt";
constexpr const char* kMissingHistory = "atarimgrp.txt ﾌｧｲﾙを Kazuban.exe と同じﾌｫﾙﾀﾞｰに置いて下さい";
constexpr const char* kMissingEnvironment = "Kazuban.ini ﾌｧｲﾙを Kazuban.exe と同じﾌｫﾙﾀﾞｰに置いて下さい";
constexpr const char* kHistoryGone = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";
constexpr const char* kConfirmExit = " 終了します。 よろしいですか？";

using text::pathFromUtf8;
using text::utf8FromPath;

std::string joinPath(const std::string& folder, const char* name) { return utf8FromPath(pathFromUtf8(folder) / name); }

bool sameProblems(const std::vector<history::LineProblem>& a, const std::vector<history::LineProblem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].lineNumber != b[i].lineNumber || a[i].what != b[i].what) return false;
    return true;
}

}  // namespace

Form1::Form1(platform::Platform& p)
    : platform(p),
      MSFlexGrid1(1001, 50, 1, 2),
      MSFlexGrid2(1001, 10, 1, 1),
      MSFlexGrid3(1001, 2, 1, 1),
      MSFlexGrid5(2, 10, 1, 1) {
    // A grid's first current cell is its first scrolling cell.
    MSFlexGrid1.setRow(1);
    MSFlexGrid1.setCol(2);
    MSFlexGrid1.setRowSel(1);
    MSFlexGrid1.setColSel(2);
    // The views start on their first data row too, so a right click before any
    // left click acts on a row and the highlight is never on the header row.
    for (TextGrid* view : {&MSFlexGrid2, &MSFlexGrid3, &MSFlexGrid5}) {
        view->setRow(1);
        view->setRowSel(1);
    }
    for (auto& figure : MSFlexGrid4) figure = TextGrid(10, 5, 0, 0);
}

Form1::~Form1() = default;

// ---- start-up -------------------------------------------------------------

bool Form1::Form_Load(const std::string& folder, bool requireEnvironmentFile) {
    // Steps 1-3: both data files must be in the folder; when the history is
    // missing that is the only message, whatever else is missing.
    const std::string here = folder.empty() ? platform.currentDirectory() : folder;
    if (!platform.fileExists(joinPath(here, kHistoryFileName))) {
        msg = platform.messageBox(kMissingHistory, platform::Icon::Critical, platform::Buttons::Ok);
        requestClose();
        return false;
    }
    const std::string envPath = joinPath(here, config::kEnvironmentFileName);
    const bool haveEnvironment = platform.fileExists(envPath);
    if (!haveEnvironment && requireEnvironmentFile) {
        msg = platform.messageBox(kMissingEnvironment, platform::Icon::Critical, platform::Buttons::Ok);
        requestClose();
        return false;
    }
    platform.seedFromClock();  // step 4

    // Step 6.
    startdir = here;
    mydir = here;

    // Steps 7-10: the four paths and the nine links.
    const bool readOk = runStartupStep(
        [&] {
            if (!haveEnvironment) return;  // the CLI runs without one: everything stays empty
            const auto env = config::readEnvironmentFile(pathFromUtf8(envPath), config::ReadRule::StartUp);
            editdir = env.editor();
            datadir = env.dataFolder();
            calcdir = env.calcSoft();
            browsdir = env.browser();
            for (int i = 0; i < config::kLinkCount; ++i) links.Text1[static_cast<std::size_t>(i)] = env.link(i);
        },
        haveEnvironment);
    if (!readOk) return false;

    // Step 11. The loader reports its own failures; without a history there
    // is nothing the window could show, so the program ends.
    const bool loaded = runStartupStep([&] { loadWinningNumbers(); }, haveEnvironment);
    if (!loaded || closeRequested() || tdataon == 0) {
        requestClose();
        return false;
    }

    const bool ok = runStartupStep([&] { buildPairCounts(); }, haveEnvironment) &&     // 12
                    runStartupStep([&] { buildRecentRanking(); }, haveEnvironment) &&  // 13
                    runStartupStep(
                        [&] {  // 14
                            buildCombinationTable();
                            MSFlexGrid1.setFontName("ＭＳ ゴシック");
                            MSFlexGrid1.setFontSize(11.25);
                        },
                        haveEnvironment) &&
                    runStartupStep([&] { buildTotalsGrid(); }, haveEnvironment) &&  // 15
                    runStartupStep(
                        [&] {  // 16
                            setupMarkSheetList();
                            drawMarkSheetFigures();
                        },
                        haveEnvironment) &&
                    runStartupStep([&] { SSTab1 = kTabWins; }, haveEnvironment) &&  // 17
                    runStartupStep(
                        [&] {  // 18
                            // A highlight only: columns 1 .. Int(maxn * 0.1) + 10 of the current row.
                            MSFlexGrid1.setCol(1);
                            MSFlexGrid1.setRowSel(MSFlexGrid1.row());
                            MSFlexGrid1.setColSel(static_cast<int>(std::floor(maxn * 0.1)) + 10);
                        },
                        haveEnvironment) &&
                    // The draw selector starts at its left end, which selects the latest
                    // draw, so the frame shows that draw from the start (nothing to show
                    // without a draw).
                    runStartupStep(
                        [&] {
                            HScroll1.min = 1;
                            HScroll1.max = maxn >= 1 ? maxn : 1;
                            HScroll1.value = 1;
                            if (maxn >= 1) showDraw(maxn);
                        },
                        haveEnvironment);
    if (!ok || closeRequested()) {
        requestClose();
        return false;
    }
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
            msg = platform.messageBox(errorText(std::current_exception()), platform::Icon::None, platform::Buttons::Ok);
        }
        if (attempt == 0 && repairEnvironment) repairEnvironmentFile();
    }
    requestClose();
    return false;
}

void Form1::repairEnvironmentFile() {
    // The link texts that were read are kept: only links never read are empty.
    try {
        config::writeEnvironmentFile(pathFromUtf8(joinPath(startdir, config::kEnvironmentFileName)), editdir, datadir,
                                     calcdir, browsdir, links.Text1);
    } catch (...) {
        msg = platform.messageBox(errorText(std::current_exception()), platform::Icon::None, platform::Buttons::Ok);
    }
}

// ---- the winning-numbers file -----------------------------------------------

void Form1::loadWinningNumbers() {
    history::LoadResult result;
    try {
        result = history::readWinningNumbers(pathFromUtf8(joinPath(startdir, kHistoryFileName)));
    } catch (...) {
        const std::string text = errorText(std::current_exception());
        if (msgIsOne()) {
            // The file failed before and is still unreadable.
            msg = platform.messageBox(kHistoryGone, platform::Icon::Critical, platform::Buttons::Ok);
        } else {
            msg = platform.messageBox(text, platform::Icon::None, platform::Buttons::Ok);
        }
        // A failed reload keeps the history loaded before and the program
        // goes on; only a program that never had a history ends.
        if (tdataon == 0) requestClose();
        return;
    }
    history = std::move(result.history);
    ++historyRevision;
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
}

bool Form1::msgIsOne() const {
    const int* v = std::get_if<int>(&msg);
    return v && *v == 1;
}

// ---- exit and settings ----------------------------------------------------

void Form1::mnufclose_Click() {
    if (platform.messageBox(kConfirmExit, platform::Icon::None, platform::Buttons::OkCancel) == platform::kOk)
        requestClose();
}

void Form1::mnuktoroku_Click() { platform.showSettingsDialog(); }

// ---- statistics -------------------------------------------------------------

void Form1::buildPairCounts() { history::buildPairTable(history, history.maxn(), pairCounts); }

void Form1::buildRecentRanking() { recentRanking = history::buildRanking(history); }

}  // namespace kazuban::app
