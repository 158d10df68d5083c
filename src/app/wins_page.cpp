#include "app/wins_page.h"

#include "app/programs.h"
#include "combos/combination_table.h"
#include "combos/combo_files.h"
#include "combos/editing.h"
#include "combos/evaluation.h"
#include "combos/generation.h"
#include "combos/sorting.h"
#include "output/layouts.h"
#include "output/print_document.h"
#include "output/printing.h"
#include "platform/data_files.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {

namespace {

using platform::BusyPointer;
using platform::Buttons;
using platform::Icon;

constexpr const char* kClearOrAppend =
    "ﾃﾞｰﾀを消去しますか？\r\n"
    "    は　い(Y) : 全て消去\r\n"
    "    いいえ(N) : 現ﾃﾞｰﾀに追加";
constexpr const char* kClearAll = "全ﾃﾞｰﾀを消去しますか？\r\n";

}  // namespace

// ---- the table ------------------------------------------------------------------

void WinsPage::buildCombinationTable() { combos::layoutTable(table(), s_.maxn); }

int WinsPage::hasCombinationData() const { return combos::hasCombinations(s_.MSFlexGrid1) ? 1 : 0; }

int WinsPage::validateCombinations() {
    const int row = combos::firstInvalidRow(table());
    if (row > 0) s_.platform.messageBox(combos::inputErrorMessage(row), Icon::Critical, Buttons::Ok);
    return row;
}

int WinsPage::winEntryLastColumn() const { return combos::lastWinColumn(s_.MSFlexGrid1, s_.maxn); }

void WinsPage::evaluateWinEntries() {
    BusyPointer busy(s_.platform);
    combos::evaluateWinEntries(table(), s_.history, s_.maxn, s_.platform);
    entriesFor_ = s_.historyRevision();
}

void WinsPage::recalculateCombinationTable() {
    const int has = hasCombinationData();
    const int invalid = validateCombinations();
    if (has == 0 || invalid > 0) return;
    s_.loadWinningNumbers();
    frame_.showDraw(s_.maxn);
    if (s_.msgIsOne()) return;
    // A history grown past a further ten draws addresses new columns.
    combos::ensureWinColumns(table(), combos::baseLastWinColumn(s_.maxn));
    table().clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    evaluateWinEntries();
    // Columns 1 .. the last win-entry column of the current row only.
    table().setCol(1);
    table().setRowSel(table().row());
    table().setColSel(winEntryLastColumn());
    table().setFontSize(combos::evaluatedFontSize(s_.maxn));
}

void WinsPage::changed(const Changes& changes) {
    // A reloaded history (the draw selector, a draw entered or imported)
    // gives the entries of a table that passes its check anew, so the frame
    // and every view show the new draws' wins at once. A table with an
    // invalid row keeps its entries until "￥" names the row.
    if (!changes.has(kHistoryChanged) || entriesFor_ == s_.historyRevision()) return;
    if (hasCombinationData() == 0 || combos::firstInvalidRow(table()) > 0) return;
    combos::ensureWinColumns(table(), combos::baseLastWinColumn(s_.maxn));
    table().clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    evaluateWinEntries();
    table().setFontSize(combos::evaluatedFontSize(s_.maxn));
}

// ---- the clear-or-append question -------------------------------------------------

std::optional<bool> WinsPage::askClearOrAppend() {
    if (hasCombinationData() == 0) return false;
    s_.msg = std::string(kClearOrAppend);
    const int answer = s_.platform.messageBox(kClearOrAppend, Icon::Exclamation, Buttons::YesNoCancel);
    if (answer == platform::kYes) return true;
    // A full table ends the command without a word.
    if (answer == platform::kNo && combos::firstEmptyRow(table()) <= combos::kDataRows) return false;
    return std::nullopt;
}

void WinsPage::clearForNewData() {
    table().clearRange(1, 1, combos::kDataRows, 1);
    table().clear();
    buildCombinationTable();
    table().setCell(0, 1, combos::kTableHeader);
    s_.rowsEmptied();
}

void WinsPage::addRows(const std::vector<std::string>& lines) {
    const int dropped = combos::placeInEmptyRows(table(), lines);
    if (dropped > 0) s_.message(combos::droppedLinesMessage(dropped), Icon::Exclamation);
}

// ---- combination files ------------------------------------------------------------

void WinsPage::openFile(const std::optional<std::filesystem::path>& chosen) {
    // The answer Yes empties the table only once the chosen file has been
    // read: a cancelled dialog or a missing or unreadable file loses nothing.
    const bool unsaved = hasUnsavedChanges();
    const auto clear = askClearOrAppend();
    if (!clear) return;
    const auto file = chosen ? chosen : s_.platform.openFileDialog(combos::comboFileDialog(s_.datadir, false));
    if (!file || file->empty()) return;
    if (!s_.platform.fileExists(*file)) {
        s_.platform.messageBox(combos::missingFileMessage(*file), Icon::Exclamation, Buttons::Ok);
        if (chosen) s_.recentFiles.remove(*file);
        return;
    }
    combos::ComboFileLines read;
    bool readOk = true;
    try {
        read = combos::readCombinationFile(*file);
    } catch (const AppError& e) {
        // A file that exists but cannot be read: nothing is placed, the rows
        // already there stay, and the command goes on with its next steps.
        s_.platform.messageBox(e.text(), Icon::None, Buttons::Ok);
        readOk = false;
    }
    loadLines(read.lines, readOk && *clear, read.unread);
    if (!readOk) return;
    s_.recentFiles.add(*file);
    // Rows added to a table that had nothing unsaved are all in files; rows
    // added to unsaved ones leave those unsaved.
    if (*clear || !unsaved) savedTexts_ = combos::tableTexts(table());
}

void WinsPage::openRecent(int index) {
    const auto& files = s_.recentFiles.list();
    if (index < 0 || static_cast<std::size_t>(index) >= files.size()) return;
    openFile(files[static_cast<std::size_t>(index)]);
}

void WinsPage::loadLines(const std::vector<std::string>& lines, bool clear, std::size_t unread) {
    if (clear) clearForNewData();
    const int dropped = combos::placeInEmptyRows(table(), lines);
    recalculateCombinationTable();
    // After the reload above: the rows are known from the history as it is now.
    if (!lines.empty()) s_.rowsMade();
    frame_.showDraw(s_.maxn);
    s_.SSTab1 = kTabWins;
    std::string note;
    if (unread > 0) note = combos::unreadLinesMessage(unread);
    if (dropped > 0) note += (note.empty() ? "" : "\n") + combos::droppedLinesMessage(dropped);
    if (!note.empty()) s_.message(note, Icon::Exclamation);
}

void WinsPage::saveFile() {
    if (hasCombinationData() == 0) return;
    const auto file = s_.platform.saveFileDialog(combos::comboFileDialog(s_.datadir, true));
    if (!file || file->empty()) return;
    try {
        platform::checkChosenTarget(*file, s_.dataFolders());
        combos::writeCombinationFile(*file, table());
    } catch (const AppError& e) {
        // The old file stays whole; the message names what went wrong. The
        // answer is not kept, so a later recalculation is not stopped by it.
        s_.platform.messageBox(e.text(), Icon::None, Buttons::Ok);
        s_.msg = 0;
        return;
    }
    savedTexts_ = combos::tableTexts(table());
    s_.recentFiles.add(*file);
    s_.status("組合せデータを保存しました：" + text::utf8FromPath(*file));
}

// ---- quick generation -------------------------------------------------------------

std::optional<std::vector<std::string>> WinsPage::makeBatch(int n) {
    if (auto why = combos::generationRefusal(s_.history, s_.maxn, s_.recentRanking)) {
        s_.platform.messageBox(*why, Icon::Exclamation, Buttons::Ok);
        return std::nullopt;
    }
    auto batch = combos::generateBatch(s_.recentRanking, s_.history.entry(s_.maxn - 1), n, s_.platform);
    if (!batch) s_.platform.messageBox(combos::generationFailedMessage(), Icon::Exclamation, Buttons::Ok);
    return batch;
}

void WinsPage::placeBatch(const std::vector<std::string>& batch) {
    const int dropped = combos::placeInEmptyRows(table(), batch);
    s_.rowsMade();
    evaluateWinEntries();
    frame_.showDraw(s_.maxn);
    s_.SSTab1 = kTabWins;
    if (dropped > 0) s_.message(combos::droppedLinesMessage(dropped), Icon::Exclamation);
}

void WinsPage::generate(int n) {
    // The batch is made before the clear-or-append question, so a refusal or a
    // batch that cannot be completed leaves the table as it was, even after Yes.
    const auto batch = makeBatch(n);
    if (!batch) return;
    const auto clear = askClearOrAppend();
    if (!clear) return;
    if (*clear) clearForNewData();
    placeBatch(*batch);
}

bool WinsPage::generateCombinations(int n) {
    const auto batch = makeBatch(n);
    if (!batch) return false;
    placeBatch(*batch);
    return true;
}

// ---- the pop-up menu ----------------------------------------------------------------

bool WinsPage::mouseDown(int button) {
    if (table().row() < 1 && table().col() != 1) return false;
    table().setCol(1);
    table().setColSel(winEntryLastColumn());
    return button == 2;
}

void WinsPage::copyRows() {
    s_.platform.clearClipboard();
    s_.platform.setClipboardText(combos::copyText(table(), table().row(), table().rowSel()));
}

void WinsPage::pasteRows() {
    combos::pasteText(table(), s_.platform.clipboardText(), table().row());
    // Pasted rows may come from anywhere, made with every draw there is.
    s_.rowsMade();
}

void WinsPage::deleteRows() { combos::deleteRows(table(), table().row(), table().rowSel(), winEntryLastColumn()); }

void WinsPage::saveCsv() {
    const std::string text = output::layoutA(table(), 0);
    const auto chosen = s_.platform.saveFileDialog(output::csvSaveDialogOptions(s_.datadir));
    if (!chosen || chosen->empty()) return;
    platform::checkChosenTarget(*chosen, s_.dataFolders());
    platform::writeTextCp932(*chosen, output::withFinalCrLf(text));
}

void WinsPage::print() { printFile(s_, output::kTablePrintFile, output::layoutA(table(), 2)); }

void WinsPage::preview() {
    output::PrintDocument document = output::combinationTableDocument(table(), winEntryLastColumn(), s_.maxn);
    document.dataFolders = s_.dataFolders();
    s_.platform.showPrintPreview(document);
}

// ---- the four buttons -------------------------------------------------------------

void WinsPage::checkWins() {
    table().clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    const int has = hasCombinationData();
    const int invalid = validateCombinations();
    if (has == 0 || invalid > 0) return;
    evaluateWinEntries();
    frame_.showDraw(s_.maxn);
}

void WinsPage::sortTable() {
    // A row the sort cannot read back would come out empty and be lost: the
    // input check names it first and nothing changes.
    if (validateCombinations() > 0) return;
    {
        BusyPointer busy(s_.platform);
        if (hasCombinationData() != 0) combos::sortCombinationRows(table());
    }
    table().clearRange(1, combos::kFirstWinColumn, combos::kDataRows, winEntryLastColumn());
    evaluateWinEntries();
    frame_.showDraw(s_.maxn);
}

void WinsPage::reverseWinEntries() {
    BusyPointer busy(s_.platform);
    combos::reverseWinEntries(table(), winEntryLastColumn());
}

bool WinsPage::clearAll() {
    s_.msg = std::string(kClearAll);
    if (s_.platform.messageBox(kClearAll, Icon::Exclamation, Buttons::OkCancel) != platform::kOk) return false;
    table().clearRange(1, 1, combos::kDataRows, winEntryLastColumn());
    s_.rowsEmptied();
    return true;
}

// ---- undo and redo ----------------------------------------------------------------

// The texts come back exactly; their win entries follow as after "￥", and
// the views in sight follow the table's change.
void WinsPage::undo() {
    if (s_.undoHistory.undo(table(), &s_.rowsMadeAt)) checkWins();
}

void WinsPage::redo() {
    if (s_.undoHistory.redo(table(), &s_.rowsMadeAt)) checkWins();
}

// ---- typing into the table ---------------------------------------------------------

bool WinsPage::editCombination(int row, const std::string& typed) {
    if (row < 1 || row > combos::kDataRows) return false;
    const std::string text = combos::typedCombinationText(typed);
    if (!text.empty() && !combos::isValidCombination(text)) {
        s_.platform.messageBox(combos::inputErrorMessage(row), Icon::Critical, Buttons::Ok);
        return false;
    }
    if (text == table().cell(row, 1)) return true;
    table().setCell(row, 1, text);
    if (!text.empty()) s_.rowsMade();
    combos::evaluateRow(table(), s_.history, row);
    table().setFontSize(combos::evaluatedFontSize(s_.maxn));
    frame_.showDraw(s_.maxn);
    return true;
}

bool WinsPage::hasUnsavedChanges() const {
    return combos::hasCombinations(s_.MSFlexGrid1) && combos::tableTexts(s_.MSFlexGrid1) != savedTexts_;
}

}  // namespace kazuban::app
