#pragma once
// The statistics of the history that players look at most (frequency,
// odd/even, sum, spread, consecutive numbers, groups, carry-over, gaps), each
// beside its exact expectation over uniform random draws. They count the
// strict draws only (analysis/draws.h) over a window of the latest draws.
// The CLI's `analysis` and the tab "統計グラフ" print and draw the same
// sections.
#include <array>
#include <string>
#include <vector>

#include "history/draw_history.h"

namespace kazuban::analysis {

// Five-number sets of 1..31: C(31, 5).
inline constexpr int kFiveSets = 169911;

struct HistoryStats {
    int draws = 0;      // W: strict draws in the window
    int firstDraw = 0;  // draw numbers of the window's oldest and newest draw (0 when W = 0)
    int lastDraw = 0;
    int leftOut = 0;                                 // draws 1..maxn of the history that are not strict draws
    std::array<int, 32> main{}, bonus{};             // by number 1..31
    std::array<int, 6> oddEven{};                    // by how many main numbers are odd
    std::array<int, 146> sum{};                      // by the sum of the main numbers, 15..145
    std::array<int, 31> range{};                     // by max - min, 4..30
    std::array<int, 5> consecutive{};                // by the number of pairs n, n+1
    std::array<int, 6> groups{};                     // main numbers in 1-5, 6-10, 11-15, 16-20, 21-25, 26-31
    int carryDraws = 0;                              // W': window draws whose previous draw is a strict draw
    std::array<int, 6> carryOver{};                  // by the main numbers shared with that previous draw
    std::array<int, 32> currentGap{}, longestGap{};  // by number 1..31
};

// The statistics over the last `last` strict draws (all of them when `last`
// is 0 or exceeds their number).
HistoryStats computeHistoryStats(const history::DrawHistory& history, int last = 0);

// The eight analyses, in the order the report lists them.
enum class Analysis { Frequency, OddEven, Sum, Range, Consecutive, Groups, CarryOver, Gaps };
inline constexpr int kAnalysisCount = 8;

struct StatsRow {
    std::string label;           // the first cell: "1", "1-5", ...
    std::vector<double> values;  // the other cells, as numbers
};

// One analysis as a table: its first column names the row, the others are
// counts (integers) or exact expectations.
struct StatsSection {
    std::string name;                   // "frequency": the report's section name
    std::string caption;                // "出現回数": the tab's name for it
    std::vector<std::string> columns;   // the report's column names, label column first
    std::vector<std::string> captions;  // the tab's column captions, label column first
    std::vector<bool> expectation;      // per value column: an expectation, not a count
    std::vector<StatsRow> rows;

    // The text of cell (row, col) as the report writes it (col 0: the label).
    std::string cell(std::size_t row, std::size_t col) const;
};

StatsSection statsSection(const HistoryStats& stats, Analysis analysis);

// The report of `analysis`: "draws,<W>" and the eight sections, LF line ends.
std::string analysisReport(const HistoryStats& stats);

// A table's rows as the clipboard takes them (cells separated by tabs, every
// line ended by CR LF) or as a CSV file holds them (cells separated by
// commas, quoted where they hold a comma or a quotation mark; CR LF).
std::string tabSeparatedText(const std::vector<std::vector<std::string>>& rows);
std::string csvText(const std::vector<std::vector<std::string>>& rows);

}  // namespace kazuban::analysis
