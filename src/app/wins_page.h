#pragma once
// Tab 0 "当 選 回 数": the combination table and the commands that fill,
// check, order and empty it (files, quick generation, the pop-up menu, the
// four buttons, undo and redo). Win entries always belong to the history in
// memory: when the history is reloaded with other draws, the entries of a
// table that passes its check are worked out again.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_runner.h"
#include "app/draw_frame.h"
#include "app/state.h"
#include "combos/undo_history.h"

namespace kazuban::app {

class WinsPage : public ChangeObserver {
public:
    WinsPage(State& state, DrawFrame& frame) : s_(state), frame_(frame) {}

    TextGrid& table() { return s_.MSFlexGrid1; }

    void buildCombinationTable();
    int hasCombinationData() const;
    // Data number of the first invalid row (its message shown), 0 when none.
    int validateCombinations();
    int winEntryLastColumn() const;  // floor(maxn * 0.1) + 20, widened as needed
    void evaluateWinEntries();
    // Checks the table, reloads the history and writes every row's win entries.
    void recalculateCombinationTable();

    // The clear-or-append question: whether the table is to be emptied first
    // (Yes), or nullopt when the command ends (Cancel, or No on a full table).
    std::optional<bool> askClearOrAppend();
    void clearForNewData();  // the effect of Yes
    // The lines go into empty rows only, from the first empty row on; a
    // filled row is never written over. The lines that found no empty row
    // are dropped and counted in a message afterwards.
    void addRows(const std::vector<std::string>& lines);
    // The lines placed as a load places them, after the question answered
    // `clear`: the table emptied first (Yes) or the lines added, then every
    // row checked and its win entries worked out, tab 0 brought into sight.
    // `unread` lines of a file past its 1000th were not read; one message
    // tells those and the lines that found no empty row.
    void loadLines(const std::vector<std::string>& lines, bool clear, std::size_t unread = 0);

    // 呼出し; with a file given (最近使ったファイル) the file dialog is not shown.
    void openFile(const std::optional<std::filesystem::path>& chosen = std::nullopt);
    void openRecent(int index);  // 最近使ったファイル: entry `index` (0 = newest)
    void saveFile();             // 保存
    void generate(int n);        // 簡易ﾃﾞｰﾀ作成: the question, then a batch of n
    // A batch of n added without the question; false (nothing changes) when
    // generation was refused.
    bool generateCombinations(int n);
    bool mouseDown(int button);  // true: the pop-up menu opens
    void copyRows();             // ｺﾋﾟｰ
    void pasteRows();            // 貼付
    void deleteRows();           // 削除
    void saveCsv();              // 保存 (CSV)
    void print();                // 印刷
    void preview();              // 印刷プレビュー…
    void checkWins();            // ￥
    void sortTable();            // △
    void reverseWinEntries();    // ⇔
    bool clearAll();             // AC: true when the table was emptied
    void undo();
    void redo();
    // A text typed into the combination cell of `row`: refused with the row's
    // message when the input check refuses it (the cell keeps its text),
    // otherwise placed and the row's win entries worked out. True when taken.
    bool editCombination(int row, const std::string& typed);

    // Whether the table holds combinations that are not in the file loaded or
    // saved last (an empty table has nothing to lose).
    bool hasUnsavedChanges() const;

    void changed(const Changes& changes) override;

private:
    std::optional<std::vector<std::string>> makeBatch(int n);
    void placeBatch(const std::vector<std::string>& batch);

    State& s_;
    DrawFrame& frame_;
    unsigned entriesFor_ = 0;
    // The texts as the last load or save left them; a table that has other
    // texts has changes that were not saved.
    combos::TableTexts savedTexts_;  // the history revision the win entries were worked out for
};

}  // namespace kazuban::app
