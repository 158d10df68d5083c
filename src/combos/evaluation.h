#pragma once
// Win entries: in which past draws a combination text would have won, and
// which prize grade.
//
// The rule, applied to every pair of combination text c and draw text t:
// matches = how many of t's five main fields (the two characters at
// positions 1, 4, 7, 10, 13) occur in c as substrings; the bonus hits when
// the last two characters of t occur in c. Grade 1: 5 matches; 2: 4 matches
// and the bonus; 3: 4 matches without it; 4: 3 matches; no entry otherwise.
// A draw that failed validation when the history was read matches nothing.
//
// Reuse (the pre-draw view needs "the win entries of draw q's numbers
// against draws 1..q-1"):
//
//     combos::DrawIndex index(history);               // once per history load
//     std::vector<combos::WinEntry> entries;
//     index.winEntries(comboText, q - 1, entries);    // ascending draw order
//     for (const auto& e : entries) grid.setCell(q, col++, combos::winEntryText(e));
//
// DrawIndex gives exactly what the draw-by-draw rule gives for any text
// (malformed, leading zeros, any length), only much faster.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/text_grid.h"
#include "history/draw_history.h"

namespace kazuban::platform {
class Platform;
}

namespace kazuban::combos {

struct WinEntry {
    int draw = 0;   // draw number 1..maxn
    int grade = 0;  // prize grade 1..4
    bool operator==(const WinEntry&) const = default;
};

// Value of a two-character field in the plain form (" 1".." 9", "10".."31"),
// 0 for any other pair of bytes.
int plainFieldValue(char a, char b);
// Bit n set when the plain field of number n occurs in s. Exact for the
// substring rule: a plain field is two ASCII bytes, and in UTF-8 an ASCII
// byte is always a whole character, so a byte match is a character match.
std::uint32_t fieldMask(std::string_view s);
// Grade 1..4 for the number of main fields matched and the bonus; 0 for none.
int gradeFromMatches(int matches, bool bonusHit);

// "123=4": the cell text of a win entry.
std::string winEntryText(const WinEntry& e);

// Grade (1..4) of combination text c against one draw text by the substring
// rule, 0 for no prize. Does not know about invalid draws.
int gradeLiteral(std::string_view combination, std::string_view drawText);

// The rule applied draw by draw (the reference the fast index is checked
// against): entries of `combination` against draws 1..lastDraw of h.
std::vector<WinEntry> winEntriesLiteral(const history::DrawHistory& h, std::string_view combination, int lastDraw);

// The draws of one history, indexed by the triples of their main numbers.
// Holds copies of what it needs: the history may be reloaded afterwards.
class DrawIndex {
public:
    DrawIndex() = default;
    explicit DrawIndex(const history::DrawHistory& h);

    // The last draw indexed (the history's maxn).
    int lastDraw() const { return lastDraw_; }

    // Entries of `combination` against draws 1..lastDraw (clamped to the
    // indexed draws), in ascending draw order, into `out` (cleared first).
    // Not reentrant: uses scratch space of the index.
    void winEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out);
    std::vector<WinEntry> winEntries(std::string_view combination, int lastDraw);

private:
    struct OddDraw {  // a valid draw not in the plain 17-character form
        int draw;
        std::string text;
    };
    void literalEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out) const;
    void literalAllEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out) const;

    int lastDraw_ = 0;
    std::vector<std::uint32_t> mainMask_;    // per draw: bit n for main number n; 0 = not indexed
    std::vector<std::uint8_t> bonus_;        // per draw: the bonus number
    std::vector<int> regularDraws_;          // indexed draws, ascending
    std::vector<std::int32_t> tripleStart_;  // bucket offsets by triple key (a << 10 | b << 5 | c)
    std::vector<std::int32_t> tripleDraws_;  // draws of each bucket, ascending
    std::vector<OddDraw> oddDraws_;          // checked by the substring rule itself
    std::vector<std::uint64_t> seen_;        // scratch bitmap of candidate draws
};

enum class Method { Fast, Literal };

// The table's evaluation: rows 1..1000 of the combination table get the win
// entries of their column-1 text against draws 1..h.maxn(), from column 2 on
// in ascending draw order. Cells after a row's last entry are emptied for
// rows that hold a text, so a row never shows entries that belong to another
// text; empty rows are left alone. The table is widened to the win-entry
// columns of `maxn` and further where a row has more entries. Shows the
// progress bar (0..1000, one step per row) and hides it at the end; sets the
// current column 2, the selection end to the last win-entry column and the
// font size (9 pt when maxn > 9999, else 11 pt).
void evaluateWinEntries(grid::TextGrid& table, const history::DrawHistory& h, int maxn, platform::Platform& platform,
                        Method method = Method::Fast);

// The win entries of one row worked out anew against draws 1..h.maxn(), from
// column 2 on, after its text was typed; an empty text leaves the row with
// none. The table is widened as the full evaluation widens it.
void evaluateRow(grid::TextGrid& table, const history::DrawHistory& h, int row);

}  // namespace kazuban::combos
