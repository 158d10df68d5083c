#pragma once
// The published results files, read into draws with their dates and
// payouts. The layout is told from the content, never from the name:
// - the full-history CSV many sites share: a header naming the columns
//   (開催回/回号, 日付/抽せん日, 第1数字..第5数字, BONUS数字/ボーナス数字,
//   optionally 1等口数..4等口数 and 1等賞金..4等賞金; other names ignored),
//   then one row per draw;
// - the bank's per-draw CSV: blocks of "第N回ミニロト,...,<平成/令和 date>,...",
//   "本数字,...,ボーナス数字,B" and one row per grade "１等,N口,M円";
// - this program's own "draw,date,n1,n2,n3,n4,n5,bonus".
// Files are cp932 or UTF-8 (with or without a BOM), lines end in CR LF or LF.
#include <string>
#include <string_view>
#include <vector>

#include "history/add_draw.h"
#include "history/payout_table.h"

namespace kazuban::history {

enum class ResultLayout { FullHistory, BankPerDraw, OwnHistory };

struct ResultDraw {
    int draw = 0;
    DrawNumbers numbers{};  // five distinct main numbers ascending, then the bonus
    DrawPayout payout;      // what the file tells besides the numbers
    int line = 0;           // the line that names the draw
};

struct ResultFile {
    ResultLayout layout = ResultLayout::FullHistory;
    std::vector<ResultDraw> draws;  // in the file's order
};

// Reads a file's bytes; `name` names it in refusals. Throws ImportRefused
// naming the line for: another game's file (six main numbers, ロト６, ロト７),
// a row that is not a draw (five distinct main numbers 1..31 and a bonus
// 1..31 not among them), a bad date, a negative count, an amount that is not
// an integer, a layout that is none of the three, bytes that are neither
// UTF-8 nor cp932.
ResultFile readResultFile(std::string_view bytes, const std::string& name);

}  // namespace kazuban::history
