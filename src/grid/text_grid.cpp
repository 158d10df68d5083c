#include "grid/text_grid.h"

#include <algorithm>
#include <numeric>

#include "text/text.h"

namespace kazuban::grid {

namespace {

const std::string kEmpty;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whether the whole text, apart from surrounding blanks, spells one decimal
// number: optional sign, digits with at most one point (at least one digit),
// optional exponent with digits.
bool isNumberText(const std::string& s) {
    std::size_t i = 0, n = s.size();
    while (i < n && isBlank(s[i])) ++i;
    while (n > i && isBlank(s[n - 1])) --n;
    if (i >= n) return false;
    if (s[i] == '+' || s[i] == '-') ++i;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') digits = true;
        else if (c == '.' && !point) point = true;
        else break;
    }
    if (!digits) return false;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        bool expDigits = false;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            ++i;
            expDigits = true;
        }
        if (!expDigits) return false;
    }
    return i == n;
}

int sign(int v) { return (v > 0) - (v < 0); }

// A key prepared once per row, so that sorting 32,767 rows parses each text once.
struct Key {
    const std::string* text;
    bool number;
    double value;
};

Key makeKey(const std::string& s, Comparison cmp) {
    if (cmp == Comparison::Generic && isNumberText(s)) return {&s, true, text::Val(s)};
    return {&s, false, 0.0};
}

int compareKeys(const Key& a, const Key& b) {
    const bool ae = a.text->empty(), be = b.text->empty();
    if (ae || be) return (ae ? 0 : 1) - (be ? 0 : 1);
    if (a.number && b.number) return (a.value > b.value) - (a.value < b.value);
    return sign(a.text->compare(*b.text));
}

}  // namespace

TextGrid::TextGrid(int rows, int cols, int fixedRows, int fixedCols)
    : rows_(std::max(rows, 0)), cols_(std::max(cols, 0)), fixedRows_(fixedRows), fixedCols_(fixedCols) {
    cells_.resize(static_cast<std::size_t>(rows_));
    widths_.assign(static_cast<std::size_t>(cols_), 0);
    aligns_.assign(static_cast<std::size_t>(cols_), Align::NotSet);
}

void TextGrid::setRows(int n) {
    n = std::max(n, 0);
    cells_.resize(static_cast<std::size_t>(n));
    if (n < rows_) cells_.shrink_to_fit();
    rows_ = n;
    touchCells();
}

void TextGrid::setCols(int n) {
    n = std::max(n, 0);
    if (n < cols_) {
        for (auto& row : cells_) {
            if (row.size() > static_cast<std::size_t>(n)) row.resize(static_cast<std::size_t>(n));
            while (!row.empty() && row.back().empty()) row.pop_back();
        }
    }
    widths_.resize(static_cast<std::size_t>(n), 0);
    aligns_.resize(static_cast<std::size_t>(n), Align::NotSet);
    cols_ = n;
    touchCells();
}

const std::string& TextGrid::cell(int r, int c) const {
    if (r < 0 || r >= rows_ || c < 0) return kEmpty;
    const auto& row = cells_[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(c) >= row.size()) return kEmpty;
    return row[static_cast<std::size_t>(c)];
}

void TextGrid::setCell(int r, int c, std::string text) {
    if (r < 0 || r >= rows_ || c < 0 || c >= cols_) return;
    auto& row = cells_[static_cast<std::size_t>(r)];
    const auto col = static_cast<std::size_t>(c);
    if (text.empty()) {
        if (col >= row.size()) return;
        row[col].clear();
        while (!row.empty() && row.back().empty()) row.pop_back();
    } else {
        if (col >= row.size()) row.resize(col + 1);
        row[col] = std::move(text);
    }
    touchCells();
}

void TextGrid::clear() {
    for (auto& row : cells_) std::vector<std::string>().swap(row);
    touchCells();
}

void TextGrid::clearRange(int r0, int c0, int r1, int c1) {
    if (r0 > r1) std::swap(r0, r1);
    if (c0 > c1) std::swap(c0, c1);
    r0 = std::max(r0, 0);
    c0 = std::max(c0, 0);
    r1 = std::min(r1, rows_ - 1);
    c1 = std::min(c1, cols_ - 1);
    if (r0 > r1 || c0 > c1) return;
    for (int r = r0; r <= r1; ++r) {
        auto& row = cells_[static_cast<std::size_t>(r)];
        const auto end = std::min(row.size(), static_cast<std::size_t>(c1) + 1);
        for (auto c = static_cast<std::size_t>(c0); c < end; ++c) row[c].clear();
        while (!row.empty() && row.back().empty()) row.pop_back();
    }
    touchCells();
}

int TextGrid::storedCells(int r) const {
    if (r < 0 || r >= rows_) return 0;
    return static_cast<int>(cells_[static_cast<std::size_t>(r)].size());
}

int TextGrid::colWidth(int c) const {
    if (c < 0 || c >= cols_) return 0;
    return widths_[static_cast<std::size_t>(c)];
}

void TextGrid::setColWidth(int c, int twips) {
    if (c < 0 || c >= cols_) return;
    widths_[static_cast<std::size_t>(c)] = twips;
    touch();
}

Align TextGrid::colAlignment(int c) const {
    if (c < 0 || c >= cols_) return Align::NotSet;
    return aligns_[static_cast<std::size_t>(c)];
}

void TextGrid::setColAlignment(int c, Align a) {
    if (c < 0 || c >= cols_) return;
    aligns_[static_cast<std::size_t>(c)] = a;
    touch();
}

void TextGrid::sortRows(int r0, int r1, int key, bool ascending, Comparison cmp) {
    if (r0 > r1) std::swap(r0, r1);
    r0 = std::max(r0, 0);
    r1 = std::min(r1, rows_ - 1);
    if (r0 >= r1) return;
    const std::size_t first = static_cast<std::size_t>(r0);
    const std::size_t count = static_cast<std::size_t>(r1 - r0) + 1;

    std::vector<Key> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) keys.push_back(makeKey(cell(static_cast<int>(first + i), key), cmp));

    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Equal keys keep their previous order in both directions.
    if (ascending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return compareKeys(keys[a], keys[b]) < 0; });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return compareKeys(keys[a], keys[b]) > 0; });
    }

    std::vector<std::vector<std::string>> moved(count);
    for (std::size_t i = 0; i < count; ++i) moved[i] = std::move(cells_[first + order[i]]);
    for (std::size_t i = 0; i < count; ++i) cells_[first + i] = std::move(moved[i]);
    touchCells();
}

int compareGeneric(const std::string& a, const std::string& b) {
    return compareKeys(makeKey(a, Comparison::Generic), makeKey(b, Comparison::Generic));
}

int compareText(const std::string& a, const std::string& b) { return sign(a.compare(b)); }

}  // namespace kazuban::grid
