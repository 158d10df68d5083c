// Combination files: lines placed into the table, validation, the data sort,
// evaluation against the demo history (fast equals literal) and Layout A.
#include <cstdint>
#include <string>
#include <string_view>

#include "combos/combination_table.h"
#include "combos/combo_files.h"
#include "combos/evaluation.h"
#include "combos/sorting.h"
#include "output/layouts.h"
#include "platform/headless_platform.h"
#include "platform/line_file.h"
#include "support.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto& h = fuzz::smallHistory();
    int start = static_cast<int>(fuzz::takeByte(bytes)) * 4;  // 0..1020
    auto lines = text::splitLines(platform::decodeFileBytes(bytes));

    grid::TextGrid table;
    combos::layoutTable(table, h.maxn());
    int placed = combos::placeLines(table, start, lines);
    fuzz::require(placed >= 0 && (placed == 0 || start + placed <= combos::kDataRows), "no line past row 1000");
    for (int r = 1; r <= combos::kDataRows; ++r)
        fuzz::require(table.cell(r, 0) == std::to_string(r), "row numbers stay");

    int bad = combos::firstInvalidRow(table);
    if (bad > 0) fuzz::require(!combos::isValidCombination(table.cell(bad, 1)), "the named row is invalid");

    platform::HeadlessPlatform quiet;
    quiet.printMessages = false;
    grid::TextGrid literal = table;
    combos::evaluateWinEntries(table, h, h.maxn(), quiet, combos::Method::Fast);
    // The draw-by-draw reference is slow on very long texts; the program
    // itself only ever takes the fast path.
    bool shortTexts = true;
    int filled = 0;
    for (int r = 1; r <= combos::kDataRows; ++r) {
        shortTexts &= literal.cell(r, 1).size() <= 200;
        filled += !literal.cell(r, 1).empty();
    }
    shortTexts &= filled <= 50;
    if (shortTexts) {
        combos::evaluateWinEntries(literal, h, h.maxn(), quiet, combos::Method::Literal);
        for (int r = 1; r <= combos::kDataRows; ++r)
            for (int c = 2; c < std::max(table.cols(), literal.cols()); ++c)
                fuzz::require(table.cell(r, c) == literal.cell(r, c), "fast evaluation equals the literal rule");
    }

    (void)output::layoutA(table, 0);
    (void)output::layoutA(table, 2);
    combos::sortCombinationRows(table);
    for (int r = 1; r <= combos::kDataRows; ++r)
        fuzz::require(table.cell(r, 0) == std::to_string(r), "row numbers stay after sorting");
    return 0;
}
