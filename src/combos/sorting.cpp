#include "combos/sorting.h"

#include <algorithm>
#include <array>
#include <vector>

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::combos {

std::string sortNumbersInText(std::string_view s) {
    std::array<std::string, 6> f;  // 1-based
    std::array<double, 6> v{};
    for (long j = 1; j <= 5; ++j) {
        f[j] = text::Mid(s, 3 * j - 2, 2);
        if (f[j].find(',') != std::string::npos) f[j].clear();
        v[j] = f[j].empty() ? 0 : text::Val(f[j]);
    }
    for (int j = 1; j <= 4; ++j)
        for (int i = j; i >= 1; --i)
            if (v[i + 1] < v[i]) {
                std::swap(f[i], f[i + 1]);
                std::swap(v[i], v[i + 1]);
            }
    std::string out;
    for (int j = 1; j <= 5; ++j) {
        if (f[j].empty() || f[j] == "\r") continue;
        out += f[j];
        if (j <= 4) out += ',';
    }
    return out;
}

void sortCombinationRows(grid::TextGrid& table) {
    for (int r = 1; r <= kDataRows; ++r) {
        const std::string& s = table.cell(r, 1);
        if (!s.empty()) table.setCell(r, 1, sortNumbersInText(s));
    }
    table.sortRows(1, kDataRows, 1, true, grid::Comparison::Generic);
    for (int r = 1; r <= kDataRows; ++r) table.setCell(r, 0, text::intText(r));

    // The leading short texts (empty ones first) are counted down to row
    // 1000 itself: when every row is short, nothing moves.
    int shift = 0;
    while (shift < kDataRows && text::Len(table.cell(shift + 1, 1)) < 13) ++shift;
    if (shift == 0 || shift == kDataRows) return;
    for (int row = 1; row <= kDataRows - shift; ++row) {
        std::string moved = table.cell(row + shift, 1);
        table.setCell(row, 1, std::move(moved));
        table.clearRange(row + shift, 1, row + shift, 8);
    }
}

void reverseWinEntries(grid::TextGrid& table, int lastColumn) {
    std::vector<std::vector<std::string>> rows(kDataRows + 1);
    std::size_t most = 0;
    for (int r = 1; r <= kDataRows; ++r) {
        auto& entries = rows[static_cast<std::size_t>(r)];
        for (int c = kFirstWinColumn; c <= lastColumn; ++c) {
            const std::string& s = table.cell(r, c);
            if (s.empty()) break;
            entries.push_back(s);
        }
        std::reverse(entries.begin(), entries.end());
        most = std::max(most, entries.size());
    }
    const int lastWritten = kFirstWinColumn + static_cast<int>(most) - 1;
    for (int r = 1; r <= kDataRows; ++r) {
        auto& entries = rows[static_cast<std::size_t>(r)];
        int c = kFirstWinColumn;
        for (auto& e : entries) table.setCell(r, c++, std::move(e));
        if (c <= lastWritten) table.clearRange(r, c, r, lastWritten);
    }
}

}  // namespace kazuban::combos
