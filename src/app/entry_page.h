#pragma once
// The menu ◇当選番号: the history file opened in the editor (登　録), the
// operator's results site in the browser (ｵﾝﾗｲﾝ取得), and the next draw
// entered through the form (入力…) and appended to atarimgrp.txt, with the
// date and payouts the form was told in atarikin.csv. A new draw
// reaches the frame, the win entries and every view through the history's
// change, with no button pressed.
#include <optional>

#include "app/draw_frame.h"
#include "app/state.h"

namespace kazuban::app {

class EntryPage {
public:
    EntryPage(State& state, DrawFrame& frame) : s_(state), frame_(frame) {}

    void openInEditor();     // 登　録
    void openResultsSite();  // ｵﾝﾗｲﾝ取得
    void enterNextDraw();    // 入力…

private:
    // What the form shows as it opens for draw `next`: what was typed for
    // that draw when its append failed, or else the suggested date.
    platform::NewDraw shownFor(int next) const;

    State& s_;
    DrawFrame& frame_;
    std::optional<platform::NewDraw> typed_;  // the answer whose append failed
    int typedFor_ = 0;                        // the draw it was for
};

}  // namespace kazuban::app
