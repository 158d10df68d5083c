#pragma once
// Tab 4 "当選番号直前分析": every past draw from the 51st on scored as a
// combination held just before it (MSFlexGrid5), pop-up menu 3 (sorts,
// copy, print, preview). The analysis is computed once per history: chg is 1
// once it is, and a history reloaded with other draws computes it again.
#include <memory>

#include "app/command_runner.h"
#include "app/state.h"

namespace kazuban::views {
struct PredrawState;
}

namespace kazuban::app {

class PredrawPage : public ChangeObserver {
public:
    explicit PredrawPage(State& state);
    ~PredrawPage() override;

    TextGrid& grid() { return MSFlexGrid5_; }
    const TextGrid& grid() const { return MSFlexGrid5_; }
    int chg() const { return chg_; }

    void buildPredrawGrid();
    void computePredrawAnalysis();
    // The next selection of the tab computes the analysis again.
    void forgetAnalysis() { chg_ = 0; }
    // What the analysis keeps between its steps is emptied at every tab selection.
    void releaseScratch();
    std::size_t scratchDraws() const;
    bool mouseDown(int button);  // true: the pop-up menu opens
    // 整列 → a column → 昇順 or 降順 (ptsmnu<column><s|k>_click).
    void sort(int column, bool ascending);
    void copyRows();
    void print();
    void preview();

    void changed(const Changes& changes) override;

private:
    State& s_;
    TextGrid MSFlexGrid5_;
    std::unique_ptr<views::PredrawState> scratch_;
    int chg_ = 0;
};

}  // namespace kazuban::app
