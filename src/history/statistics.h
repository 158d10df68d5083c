#pragma once
// Pair co-occurrence tables and the recent-draw rankings.
#include <array>
#include <cstdint>

#include "history/draw_history.h"

namespace kazuban::history {

// 32 x 32, index 0 unused. (x, y): draws holding both x and y; (x, x): draws holding x.
using PairTable = std::array<std::array<std::int32_t, 32>, 32>;

// For windows w = 1..3 (index 0 unused): number[w][r] is the number of rank r
// (1..31) and count[w][r] its count in that window.
struct RecentRanking {
    std::array<std::array<std::int16_t, 32>, 4> number{};
    std::array<std::array<std::int16_t, 32>, 4> count{};
};

// Over draws 1..n (invalid draws are skipped; n is clamped to maxn).
void buildPairTable(const DrawHistory& h, int n, PairTable& out);
// Adds draw d's six numbers to the table (for prefix tables grown one draw at a time).
void addDrawToPairTable(const DrawHistory& h, int d, PairTable& table);
// The three windows of seven draws; with fewer than 21 draws a window takes
// only the draws that exist (never entry 0).
RecentRanking buildRanking(const DrawHistory& h);
// Insertion sort by count, descending; equal counts keep ascending number order.
void sortRecentWindow(RecentRanking& ranking, int w);

}  // namespace kazuban::history
