// The combination table and the first tab's commands.
#include <algorithm>
#include <filesystem>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "combos/combo_files.h"
#include "combos/editing.h"
#include "combos/evaluation.h"
#include "combos/generation.h"
#include "combos/sorting.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "text/text.h"

namespace kazuban::app {

namespace {

using platform::Buttons;
using platform::Icon;

constexpr const char* kClearOrAppend =
    "ﾃﾞｰﾀを消去しますか？\r\n"
    "    は　い(Y) : 全て消去\r\n"
    "    いいえ(N) : 現ﾃﾞｰﾀに追加";
constexpr const char* kClearAll = "全ﾃﾞｰﾀを消去しますか？\r\n";

using platform::BusyPointer;
using text::pathFromUtf8;

}  // namespace

// ---- the table ----------------------------------------------------------------

void Form1::buildCombinationTable() { combos::layoutTable(MSFlexGrid1, maxn); }

int Form1::hasCombinationData() const { return combos::hasCombinations(MSFlexGrid1) ? 1 : 0; }

int Form1::validateCombinations() {
    const int row = combos::firstInvalidRow(MSFlexGrid1);
    if (row > 0) platform.messageBox(combos::inputErrorMessage(row), Icon::Critical, Buttons::Ok);
    return row;
}

int Form1::winEntryLastColumn() const { return combos::lastWinColumn(MSFlexGrid1, maxn); }

void Form1::recalculateCombinationTable() {
    const int has = hasCombinationData();
    const int invalid = validateCombinations();
    if (has == 0 || invalid > 0) return;
    loadWinningNumbers();
    Label1 = "第" + text::intText(maxn) + "回:" + history.entry(maxn);
    if (msgIsOne()) return;
    // A history grown past a further ten draws addresses new columns.
    combos::ensureWinColumns(MSFlexGrid1, combos::baseLastWinColumn(maxn));
    MSFlexGrid1.clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    BusyPointer busy(platform);
    evaluateWinEntries();
    // Columns 1 .. the last win-entry column of the current row only.
    MSFlexGrid1.setCol(1);
    MSFlexGrid1.setRowSel(MSFlexGrid1.row());
    MSFlexGrid1.setColSel(winEntryLastColumn());
    MSFlexGrid1.setFontSize(combos::evaluatedFontSize(maxn));
}

void Form1::evaluateWinEntries() { combos::evaluateWinEntries(MSFlexGrid1, history, maxn, platform); }

void Form1::showPrizeCounts(int d) {
    if (hasCombinationData() == 0) return;
    const auto counts = combos::prizeCounts(MSFlexGrid1, d, winEntryLastColumn());
    for (std::size_t g = 1; g <= 4; ++g) Label3[g] = counts[g] == 0 ? "0" : text::Str(counts[g]);
}

std::optional<int> Form1::askClearOrAppend() {
    const auto plan = askClearOrAppendFirst();
    if (!plan) return std::nullopt;
    if (plan->clear) clearForNewData();
    return plan->start;
}

std::optional<Form1::ClearOrAppend> Form1::askClearOrAppendFirst() {
    if (hasCombinationData() == 0) return ClearOrAppend{};
    msg = std::string(kClearOrAppend);
    const int answer = platform.messageBox(kClearOrAppend, Icon::Exclamation, Buttons::YesNoCancel);
    if (answer == platform::kYes) return ClearOrAppend{0, true};
    if (answer == platform::kNo) {
        const int r = combos::firstEmptyRow(MSFlexGrid1);
        if (r > combos::kDataRows) return std::nullopt;
        return ClearOrAppend{r - 1, false};
    }
    return std::nullopt;
}

void Form1::clearForNewData() {
    MSFlexGrid1.clearRange(1, 1, combos::kDataRows, 1);
    MSFlexGrid1.clear();
    buildCombinationTable();
    MSFlexGrid1.setCell(0, 1, combos::kTableHeader);
}

void Form1::showDraw(int k) {
    Label3[0] = text::intText(k);
    showPrizeCounts(k);
    Label1 = "第" + text::intText(k) + "回:" + history.entry(k);
}

// ---- combination files ------------------------------------------------------

void Form1::mnudopen_Click() {
    combos::UndoStep step(undoHistory, MSFlexGrid1);
    // The answer Yes empties the table only once the chosen file has been
    // read: a cancelled dialog or a missing or unreadable file loses nothing.
    const auto plan = askClearOrAppendFirst();
    if (!plan) return;
    const auto file = platform.openFileDialog(combos::comboFileDialog(datadir, false));
    if (!file || file->empty()) return;
    if (!platform.fileExists(*file)) {
        platform.messageBox(combos::missingFileMessage(*file), Icon::Exclamation, Buttons::Ok);
        return;
    }
    std::vector<std::string> lines;
    bool read = true;
    try {
        lines = combos::readCombinationFile(pathFromUtf8(*file));
    } catch (const AppError& e) {
        // A file that exists but cannot be read: nothing is placed, the rows
        // already there stay, and the command goes on with its next steps.
        platform.messageBox(e.text(), Icon::None, Buttons::Ok);
        read = false;
    }
    if (read && plan->clear) clearForNewData();
    combos::placeLines(MSFlexGrid1, plan->start, lines);
    recalculateCombinationTable();
    Label3[0] = text::intText(maxn);
    showPrizeCounts(maxn);
    SSTab1 = kTabWins;
}

void Form1::mnudsave_Click() {
    if (hasCombinationData() == 0) return;
    const auto file = platform.saveFileDialog(combos::comboFileDialog(datadir, true));
    if (!file || file->empty()) return;
    try {
        combos::writeCombinationFile(pathFromUtf8(*file), MSFlexGrid1);
    } catch (const AppError& e) {
        // The old file stays whole; the message names what went wrong. The
        // answer is not kept, so a later recalculation is not stopped by it.
        platform.messageBox(e.text(), Icon::None, Buttons::Ok);
        msg = 0;
    }
}

// ---- quick generation -------------------------------------------------------

namespace {

// The batch of a generation command, or nullopt after the refusal message.
std::optional<std::vector<std::string>> makeBatch(Form1& f, int n) {
    if (auto why = combos::generationRefusal(f.history, f.maxn, f.recentRanking)) {
        f.platform.messageBox(*why, Icon::Exclamation, Buttons::Ok);
        return std::nullopt;
    }
    auto batch = combos::generateBatch(f.recentRanking, f.history.entry(f.maxn - 1), n, f.platform);
    if (!batch) f.platform.messageBox(combos::generationFailedMessage(), Icon::Exclamation, Buttons::Ok);
    return batch;
}

// Rows s + 1, s + 2, ... take the batch (members past row 1000 are dropped),
// then the table is evaluated and the latest draw shown on the first tab.
void placeBatch(Form1& f, int s, const std::vector<std::string>& batch) {
    for (int i = 1; i <= static_cast<int>(batch.size()); ++i) {
        if (s + i > combos::kDataRows) break;
        f.MSFlexGrid1.setCell(s + i, 1, batch[static_cast<std::size_t>(i - 1)]);
    }
    {
        BusyPointer busy(f.platform);
        f.evaluateWinEntries();
    }
    f.showPrizeCounts(f.maxn);
    f.Label3[0] = text::intText(f.maxn);
    f.Label1 = "第" + text::intText(f.maxn) + "回:" + f.history.entry(f.maxn);
    f.SSTab1 = kTabWins;
}

// The batch is made before the clear-or-append question, so a refusal or a
// batch that cannot be completed leaves the table as it was, even after Yes.
void generationCommand(Form1& f, int n) {
    combos::UndoStep step(f.undoHistory, f.MSFlexGrid1);
    const auto batch = makeBatch(f, n);
    if (!batch) return;
    if (const auto s = f.askClearOrAppend()) placeBatch(f, *s, *batch);
}

}  // namespace

void Form1::mnu10mk_Click() { generationCommand(*this, 10); }

void Form1::mnu5mk_Click() { generationCommand(*this, 5); }

bool Form1::generateCombinations(int s, int n) {
    const auto batch = makeBatch(*this, n);
    if (!batch) return false;
    placeBatch(*this, s, *batch);
    return true;
}

// ---- grid editing -----------------------------------------------------------

void Form1::MSFlexGrid1_MouseDown(int button) {
    if (MSFlexGrid1.row() < 1 && MSFlexGrid1.col() != 1) return;
    if (button == 2) platform.showPopupMenu(platform::PopupMenu::Combination);
    MSFlexGrid1.setCol(1);
    MSFlexGrid1.setColSel(winEntryLastColumn());
}

void Form1::pmnucopy_click() {
    platform.clearClipboard();
    platform.setClipboardText(combos::copyText(MSFlexGrid1, MSFlexGrid1.row(), MSFlexGrid1.rowSel()));
}

void Form1::pmnupaste_click() {
    combos::UndoStep step(undoHistory, MSFlexGrid1);
    combos::pasteText(MSFlexGrid1, platform.clipboardText(), MSFlexGrid1.row());
}

void Form1::pmnudelete_click() {
    combos::UndoStep step(undoHistory, MSFlexGrid1);
    combos::deleteRows(MSFlexGrid1, MSFlexGrid1.row(), MSFlexGrid1.rowSel(), winEntryLastColumn());
}

void Form1::pmnucancell_click() {}

// ---- the first tab's buttons --------------------------------------------------

void Form1::Command5_Click() {
    MSFlexGrid1.clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    const int has = hasCombinationData();
    const int invalid = validateCombinations();
    if (has == 0 || invalid > 0) return;
    {
        BusyPointer busy(platform);
        evaluateWinEntries();
    }
    showDraw(maxn);
}

void Form1::Command3_Click() {
    // A row the sort cannot read back would come out empty and be lost: the
    // input check names it first and nothing changes.
    if (validateCombinations() > 0) return;
    combos::UndoStep step(undoHistory, MSFlexGrid1);
    sortCombinations();
    MSFlexGrid1.clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    {
        BusyPointer busy(platform);
        evaluateWinEntries();
    }
    showDraw(maxn);
}

void Form1::Command4_Click() { reverseWinEntries(); }

void Form1::Command6_Click() {
    combos::UndoStep step(undoHistory, MSFlexGrid1);
    msg = std::string(kClearAll);
    if (platform.messageBox(kClearAll, Icon::Exclamation, Buttons::OkCancel) == platform::kOk) clearAllData();
}

void Form1::sortCombinations() {
    BusyPointer busy(platform);
    if (hasCombinationData() == 0) return;
    combos::sortCombinationRows(MSFlexGrid1);
}

void Form1::reverseWinEntries() {
    BusyPointer busy(platform);
    combos::reverseWinEntries(MSFlexGrid1, winEntryLastColumn());
}

void Form1::clearAllData() {
    MSFlexGrid1.clearRange(1, 1, combos::kDataRows, winEntryLastColumn());
    MSFlexGrid2.clear();
    MSFlexGrid3.clear();
    for (std::size_t k = 0; k < MSFlexGrid4.size(); ++k) {
        MSFlexGrid4[k].clear();
        markSheet.Text4[k].clear();
        markSheet.Text5[k].clear();
    }
}

void Form1::HScroll1_Change() {
    loadWinningNumbers();
    HScroll1.min = 1;
    HScroll1.max = maxn;
    if (maxn <= 0) return;
    // A history that shrank since the bar was last moved leaves the position
    // past the new end.
    HScroll1.value = std::clamp(HScroll1.value, 1, maxn);
    showDraw(maxn - HScroll1.value + 1);
}

}  // namespace kazuban::app
