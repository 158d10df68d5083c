#include "combos/editing.h"

#include <algorithm>
#include <vector>

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::combos {

std::string copyText(const grid::TextGrid& table, int rowA, int rowB) {
    std::string out;
    for (int r = std::min(rowA, rowB); r <= std::max(rowA, rowB); ++r) {
        out += table.cell(r, 1);
        out += "\r\n";
    }
    return out;
}

namespace {

// Text copied on Linux or macOS ends its lines with LF alone.
std::string crlfLineEnds(const std::string& s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
        out += s[i];
    }
    return out;
}

// The text of a row after a paste, by the position h of its first comma:
// none keeps it; 1 drops the first character; 2 puts a blank in front (a
// single digit written without its blank); 3 or more keeps 14 characters
// from h - 2 (a prefix before the first number goes, and any tail).
std::string normalised(const std::string& x, long h) {
    if (h == 1) return text::Mid(x, 2);
    if (h == 2) return " " + x;
    return text::Mid(x, h - 2, 14);
}

// A last line without a line break is written only when it holds more than
// three characters, and then only its first 14; the normalisation by the
// first comma follows. A block copied by the copy command ends every line
// with CR LF, so this cut only meets text that ends without one: a line with
// a prefix, "No.7  3, 9,15,22,30", pastes as " 3, 9,15,22,30" when a line
// break follows it; without one its first 14 characters leave " 3, 9,15,",
// which validation then names.
std::string lastLineText(const std::string& line) { return text::Left(line, 14); }

}  // namespace

void pasteText(grid::TextGrid& table, std::string clip, int anchorRow) {
    std::string s = crlfLineEnds(clip);
    if (s.starts_with("\r\n")) s.erase(0, 2);
    if (text::Len(s) < 3) return;
    const int start = std::max(anchorRow, 1);
    if (start > kDataRows) return;
    int k = 1;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = s.find("\r\n", pos);
        const bool last = end == std::string::npos;
        const std::string line = s.substr(pos, last ? std::string::npos : end - pos);
        const int t = start + k - 1;
        if (!last) table.setCell(t, 1, line);
        else if (text::Len(line) > 3) table.setCell(t, 1, lastLineText(line));
        const std::string x = table.cell(t, 1);
        const long h = text::InStr(x, ",");
        if (h != 0) {
            table.setCell(t, 1, normalised(x, h));
            ++k;
            if (start + k - 1 > kDataRows) return;
        }
        if (last) return;
        pos = end + 2;
    }
}

void deleteRows(grid::TextGrid& table, int rowA, int rowB, int lastColumn) {
    // The header row is never part of the data.
    const int top = std::max(std::min(rowA, rowB), 1);
    const int bottom = std::min(std::max(rowA, rowB), kDataRows);
    if (top > bottom) return;
    table.clearRange(top, 1, bottom, lastColumn);
}

std::string typedCombinationText(const std::string& typed) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t b = 0, e = typed.size();
    while (b < e && isBlank(typed[b])) ++b;
    while (e > b && isBlank(typed[e - 1])) --e;
    const std::string trimmed = typed.substr(b, e - b);
    // Numbers are separated by blanks and at most one comma; a comma before
    // the first number or after the last names no number.
    std::vector<std::string> numbers;
    int gapCommas = 0;
    bool inNumber = false;
    for (const char c : trimmed) {
        if (c >= '0' && c <= '9') {
            if (!inNumber) {
                if (gapCommas > 1 || (numbers.empty() && gapCommas > 0)) return trimmed;
                numbers.emplace_back();
                gapCommas = 0;
                inNumber = true;
            }
            numbers.back() += c;
        } else if (c == ',' || isBlank(c)) {
            inNumber = false;
            if (c == ',') ++gapCommas;
        } else {
            return trimmed;
        }
    }
    if (gapCommas > 0 || numbers.size() != 5) return trimmed;
    std::string out;
    for (const std::string& n : numbers) {
        if (n.size() > 2) return trimmed;
        if (!out.empty()) out += ',';
        out += n.size() == 1 ? " " + n : n;
    }
    return out;
}

}  // namespace kazuban::combos
