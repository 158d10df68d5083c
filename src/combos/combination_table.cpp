#include "combos/combination_table.h"

#include <algorithm>

#include "text/text.h"

namespace kazuban::combos {

using grid::TextGrid;

int baseLastWinColumn(int maxn) { return std::max(maxn, 0) / 10 + 20; }

int lastWinColumn(const TextGrid& table, int maxn) { return std::max(baseLastWinColumn(maxn), table.cols() - 1); }

double evaluatedFontSize(int maxn) { return maxn > 9999 ? 9.0 : 11.0; }

void layoutTable(TextGrid& table, int maxn) {
    table.clear();
    table.setRows(kDataRows + 1);
    table.setFixedRows(1);
    table.setFixedCols(2);
    const int last = baseLastWinColumn(maxn);
    table.setCols(last + 1);
    table.setCell(0, 1, kTableHeader);
    table.setColWidth(0, 500);
    table.setColAlignment(0, grid::Align::Centre);
    table.setColWidth(1, 2190);
    table.setColAlignment(1, grid::Align::Centre);
    for (int c = kFirstWinColumn; c <= last; ++c) {
        table.setColWidth(c, 800);
        table.setColAlignment(c, grid::Align::NotSet);
        table.setCell(0, c, text::intText(c - 1));
    }
    for (int r = 1; r <= kDataRows; ++r) table.setCell(r, 0, text::intText(r));
    // The first layout fixes the font; the size changes only after an
    // evaluation, so a later rebuild keeps the size the table has.
    if (table.fontName().empty()) {
        table.setFontName(kTableFont);
        table.setFontSize(kFontBeforeEvaluation);
    }
}

void ensureWinColumns(TextGrid& table, int lastColumn) {
    const int old = table.cols();
    if (lastColumn < old) return;
    table.setCols(lastColumn + 1);
    for (int c = std::max(old, kFirstWinColumn); c <= lastColumn; ++c) {
        table.setColWidth(c, 800);
        table.setCell(0, c, text::intText(c - 1));
    }
}

bool hasCombinations(const TextGrid& table) {
    for (int r = 1; r <= kDataRows; ++r)
        if (!table.cell(r, 1).empty()) return true;
    return false;
}

bool isValidCombination(std::string_view s) {
    if (text::Len(s) != 14) return false;
    int commas = 0;
    for (long start : {1, 4, 7, 10, 13, 16})
        if (text::InStr(start, s, ",") > 0) ++commas;
    if (commas != 4) return false;
    for (long k = 1; k <= 5; ++k) {
        const double v = text::Val(text::Mid(s, 3 * k - 2, 2));
        if (!(v >= 1 && v <= 31)) return false;
    }
    for (long k = 1; k <= 4; ++k) {
        const std::string field = text::Mid(s, 3 * k - 2, 2);
        if (text::InStr(3 * k + 1, s, field) > 0) return false;
    }
    return true;
}

int firstInvalidRow(const TextGrid& table) {
    for (int r = 1; r <= kDataRows; ++r) {
        const std::string& s = table.cell(r, 1);
        if (!s.empty() && !isValidCombination(s)) return r;
    }
    return 0;
}

std::string inputErrorMessage(int row) { return " データ番号 " + text::intText(row) + " に、入力ミスがあります。"; }

int firstEmptyRow(const TextGrid& table) {
    int r = 1;
    while (r <= kDataRows && !table.cell(r, 1).empty()) ++r;
    return r;
}

std::array<int, 5> prizeCounts(const TextGrid& table, int d, int lastColumn) {
    std::array<int, 5> counts{};
    for (int r = 1; r <= kDataRows; ++r) {
        const int end = std::min(lastColumn, table.storedCells(r) - 1);
        for (int c = kFirstWinColumn; c <= end; ++c) {
            const std::string& s = table.cell(r, c);
            const auto eq = s.find('=');
            if (s.empty() || eq == std::string::npos) break;
            if (text::Val(std::string_view(s).substr(0, eq)) != d) continue;
            const double grade = text::Val(std::string_view(s).substr(eq + 1));
            // A cell edited by hand may name no grade of the four.
            if (grade >= 1 && grade <= 4) ++counts[static_cast<std::size_t>(grade)];
        }
    }
    return counts;
}

}  // namespace kazuban::combos
