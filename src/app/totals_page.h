#pragma once
// Tab 1 "合計・奇数偶数・分布 等": every combination of the table with its
// seven scores (MSFlexGrid2), pop-up menu 2 (sorts that the table takes
// over, copy, print, preview). The view is a snapshot of the table, taken
// when the tab is chosen and again whenever the table changes while the tab
// is in sight.
#include "app/command_runner.h"
#include "app/state.h"
#include "app/wins_page.h"

namespace kazuban::app {

class TotalsPage : public ChangeObserver {
public:
    // `markSheetList` takes the new order of the table with it when a sort
    // moves the combinations up.
    TotalsPage(State& state, WinsPage& wins, TextGrid& markSheetList);

    TextGrid& grid() { return MSFlexGrid2_; }
    const TextGrid& grid() const { return MSFlexGrid2_; }

    void buildTotalsGrid();
    void scoreTotalsRow(int row);
    // The entry steps of the tab: the view built and every row scored.
    void enter();
    bool mouseDown(int button);  // true: the pop-up menu opens
    void sortByCombination();    // 整列 → 組合わせﾃﾞｰﾀ
    void pbsort(int column);     // 整列 → a score column, descending
    void copyRows();
    void print();
    void preview();

    void changed(const Changes& changes) override;

private:
    State& s_;
    WinsPage& wins_;
    TextGrid& markSheetList_;
    TextGrid MSFlexGrid2_;
};

}  // namespace kazuban::app
