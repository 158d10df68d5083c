#pragma once
// The winning-numbers frame above the tabs: the draw selector HScroll1, the
// draw's numbers (Label1) and how many rows of the combination table won
// each grade in that draw (Label3). It follows every change of the table
// and the history, so its counts are never those of an older table.
#include <array>
#include <string>

#include "app/command_runner.h"
#include "app/state.h"

namespace kazuban::app {

struct ScrollBarState {
    int min = 1, max = 1, value = 1;
};

class DrawFrame : public ChangeObserver {
public:
    explicit DrawFrame(State& state) : s_(state) {}

    const std::string& Label1() const { return label1_; }                 // "第" + k + "回:" + draw text
    const std::array<std::string, 5>& Label3() const { return label3_; }  // draw number, then grades 1..4
    const ScrollBarState& HScroll1() const { return hscroll1_; }
    int shownDraw() const { return shown_; }

    // Shows draw k: its number, its prize counts and its text.
    void showDraw(int k);
    // The draw selector at its left end: the latest draw.
    void showLatest();
    // The draw selector moved to `value` (1 = the latest draw): the history
    // is reloaded and draw maxn - value + 1 shown.
    void HScroll1_Change(int value);

    void changed(const Changes& changes) override;

private:
    void showPrizeCounts(int d);

    State& s_;
    std::string label1_;
    std::array<std::string, 5> label3_;
    ScrollBarState hscroll1_;
    int shown_ = 0;
};

}  // namespace kazuban::app
