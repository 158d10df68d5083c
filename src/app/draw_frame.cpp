#include "app/draw_frame.h"

#include <algorithm>

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::app {

void DrawFrame::showDraw(int k) {
    shown_ = k;
    label3_[0] = text::intText(k);
    showPrizeCounts(k);
    label1_ = "第" + text::intText(k) + "回:" + s_.history.entry(k);
}

void DrawFrame::showLatest() {
    hscroll1_ = {1, std::max(s_.maxn, 1), 1};
    if (s_.maxn >= 1) showDraw(s_.maxn);
}

void DrawFrame::showPrizeCounts(int d) {
    // An empty table won nothing: its counts are 0, never those of the table before.
    std::array<int, 5> counts{};
    if (combos::hasCombinations(s_.MSFlexGrid1))
        counts = combos::prizeCounts(s_.MSFlexGrid1, d, combos::lastWinColumn(s_.MSFlexGrid1, s_.maxn));
    for (std::size_t g = 1; g <= 4; ++g) label3_[g] = counts[g] == 0 ? "0" : text::Str(counts[g]);
}

void DrawFrame::HScroll1_Change(int value) {
    s_.loadWinningNumbers();
    hscroll1_.min = 1;
    hscroll1_.max = s_.maxn;
    hscroll1_.value = value;
    if (s_.maxn <= 0) return;
    // A history that shrank since the bar was last moved leaves the position
    // past the new end.
    hscroll1_.value = std::clamp(hscroll1_.value, 1, s_.maxn);
    showDraw(s_.maxn - hscroll1_.value + 1);
}

void DrawFrame::changed(const Changes& changes) {
    if (!changes.has(kTableChanged) && !changes.has(kHistoryChanged)) return;
    if (changes.has(kHistoryChanged)) {
        hscroll1_.max = std::max(s_.maxn, 1);
        hscroll1_.value = std::clamp(hscroll1_.value, 1, hscroll1_.max);
        // The draw in sight may be gone from a shortened history.
        if (shown_ > s_.maxn) shown_ = s_.maxn;
    }
    if (shown_ >= 1) showDraw(shown_);
}

}  // namespace kazuban::app
