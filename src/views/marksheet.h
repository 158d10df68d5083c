#pragma once
// The mark-sheet view of tab 2: the list MSFlexGrid3 of the combinations and
// the five figures MSFlexGrid4(0..4) that black out a combination's numbers.
#include <array>
#include <string>
#include <string_view>

#include "grid/text_grid.h"
#include "history/statistics.h"

namespace kazuban::views {

inline constexpr const char* kMarkSheetInitialCaption = "ﾃﾞｰﾀ番号: xxx";
inline constexpr const char* kMarkSheetCaptionPrefix = "ﾃﾞｰﾀ番号:";
inline constexpr const char* kMark = "■";

// Tab 2's controls beside the five figures.
struct MarkSheetControls {
    std::array<std::string, 5> caption;  // Label4, Label5, Label6, Label7, Label14
    std::array<std::string, 5> Text4;    // tier 1: pair rate
    std::array<std::string, 5> Text5;    // tier 2: triple rate
    std::array<std::string, 5> Text2;    // tier 3: win count
    std::array<std::string, 5> Text3;    // tier 4: latest winning draw
};

// Shape, widths, centring, header "組合せデータ" and data numbers 1..1000;
// column 1 is left as it is.
void setupMarkSheetList(grid::TextGrid& list);
// Shape, widths and centring of one figure, and its plain layout
// (" 1".." 9", "10".."31", "×"), which also removes every mark.
void drawMarkSheetFigure(grid::TextGrid& figure);
// Blacks out each number cell whose text occurs in `combination`.
void markFigure(grid::TextGrid& figure, std::string_view combination);
// The first list row shown for a click on `row`: rows below 1 or above 995 show 996..1000.
int firstShownRow(int row);

// The four tiers under one figure.
struct Tiers {
    std::string pairRate;    // tier 1 (Text4)
    std::string tripleRate;  // tier 2 (Text5)
    std::string wins;        // tier 3 (Text2)
    std::string latest;      // tier 4 (Text3)
};
// Tiers 3 and 4 from the win entries of `tableRow` of the combination table;
// tiers 1 and 2 from the list's text (empty when it is shorter than 14 characters).
Tiers markSheetTiers(std::string_view combination, const grid::TextGrid& table, int tableRow, int lastWinColumn,
                     const history::PairTable& pairs);

}  // namespace kazuban::views
