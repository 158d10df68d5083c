#pragma once
// atarimgrp.txt in memory. Entry n is the text after the first "=" of line
// n + 1; entries 1..maxn are draws 1..maxn, six two-character fields at
// positions 1, 4, 7, 10, 13, 16 (five main numbers, then the bonus).
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kazuban::history {

// The largest draw number a 16-bit draw field holds.
inline constexpr int kMaxDraws = 32767;

struct DrawHistory {
    std::vector<std::string> entries;  // entries[0] is the header line's text
    // Per entry: true when the draw's six fields are numbers 1..31 at their
    // positions (entry 0 is never a draw and is false). Invalid draws take
    // part in no statistic and match no combination.
    std::vector<bool> valid;
    // Per entry: the six values (main numbers, then bonus); zeros when invalid.
    std::vector<std::array<std::uint8_t, 6>> numbers;

    int maxn() const { return static_cast<int>(entries.size()) - 1; }
    const std::string& entry(int n) const;  // "" outside 0..maxn
    bool isValidDraw(int n) const { return n >= 1 && n < static_cast<int>(valid.size()) && valid[n]; }
};

// One problem found while validating the lines of the file.
struct LineProblem {
    int lineNumber = 0;  // 1-based line of the file
    std::string what;    // Japanese description
};

struct LoadResult {
    DrawHistory history;
    std::vector<LineProblem> problems;  // every bad line, in file order
};

// Reads and validates the file. Trailing blank lines are not draws. Throws
// AppError when the file cannot be read, holds no line, or holds more than
// kMaxDraws draws.
LoadResult readWinningNumbers(const std::filesystem::path& file);
// Builds a history from lines as read (for tests and generators).
LoadResult historyFromLines(const std::vector<std::string>& lines);
// The one message naming at most five bad lines.
std::string problemsMessage(const std::vector<LineProblem>& problems);

}  // namespace kazuban::history
