#include "analysis/combination_values.h"

#include <algorithm>
#include <cmath>

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::analysis {

ComboMask comboMaskOf(const std::string& text) {
    ComboMask mask = 0;
    for (long k = 1; k <= 5; ++k) {
        const double v = text::Val(text::Mid(text, 3 * k - 2, 2));
        if (!(v >= 1 && v <= 31) || v != std::floor(v)) return 0;
        const ComboMask bit = ComboMask{1} << static_cast<int>(v);
        if (mask & bit) return 0;
        mask |= bit;
    }
    return mask;
}

Snapshot takeSnapshot(const std::vector<std::string>& texts) {
    Snapshot s;
    const std::size_t rows = std::min<std::size_t>(texts.size(), combos::kDataRows);
    // The table's own input rules come first, over every row, as at every
    // recalculation; only a table that passes them is read for its numbers.
    for (std::size_t i = 0; i < rows; ++i) {
        if (!texts[i].empty() && !combos::isValidCombination(texts[i])) {
            s.status = SnapshotStatus::InvalidRow;
            s.row = static_cast<int>(i) + 1;
            return s;
        }
    }
    s.combos.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        if (texts[i].empty()) continue;
        const ComboMask m = comboMaskOf(texts[i]);
        if (m == 0) {
            s.status = SnapshotStatus::RepeatedValue;
            s.row = static_cast<int>(i) + 1;
            s.combos.clear();
            return s;
        }
        s.combos.push_back(m);
    }
    return s;
}

std::string repeatedValueMessage(int row) {
    return " データ番号 " + text::intText(row) + " に、同じ数字が２回あります。";
}

std::string snapshotMessage(const Snapshot& s) {
    switch (s.status) {
    case SnapshotStatus::InvalidRow: return combos::inputErrorMessage(s.row);
    case SnapshotStatus::RepeatedValue: return repeatedValueMessage(s.row);
    case SnapshotStatus::Ok: break;
    }
    return {};
}

}  // namespace kazuban::analysis
