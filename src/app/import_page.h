#pragma once
// The menu ◇当選番号's results files: 取り込み… merges files the user
// chooses, 最新結果を取得 fetches the bank's files after the last draw. Both
// read and check everything first and show what would change (the draws to
// add, the payouts to add, or why nothing can be taken); nothing is written
// until the user says OK, and then atarimgrp.txt and atarikin.csv change
// together or not at all. The new draws reach every view through the
// history's change.
#include <string>

#include "app/draw_frame.h"
#include "app/state.h"
#include "history/import.h"

namespace kazuban::app {

class ImportPage {
public:
    ImportPage(State& state, DrawFrame& frame) : s_(state), frame_(frame) {}

    void importFiles();  // 取り込み…
    void fetchLatest();  // 最新結果を取得

private:
    // Shows the plan and writes it when the user agrees.
    void confirmAndCommit(const history::ImportPlan& plan);

    State& s_;
    DrawFrame& frame_;
};

// The question before writing: "第1401回～第1404回を追加します。よろしいですか？".
std::string importQuestion(const history::ImportPlan& plan);

}  // namespace kazuban::app
