#pragma once
// The draws the analyses beyond the classic program count: a history entry
// in the strict field form. Six two-character fields (a blank and a digit for
// 1-9, two digits for 10-31, never a leading zero), values 1..31, all six
// distinct. The classic loader also accepts "01"; the analyses do not.
#include <cstdint>

#include "history/draw_history.h"

namespace kazuban::analysis {

// True when draw n (1..maxn) is a draw in the strict field form.
bool isStrictDraw(const history::DrawHistory& history, int n);

// Bit v set for each of the five main numbers of draw n (bits 1..31); 0 when
// draw n is not a strict draw.
std::uint32_t mainMask(const history::DrawHistory& history, int n);

}  // namespace kazuban::analysis
