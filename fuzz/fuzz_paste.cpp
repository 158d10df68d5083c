// Clipboard text pasted into the combination table at any anchor row.
#include <cstdint>
#include <string>
#include <string_view>

#include "combos/combination_table.h"
#include "combos/editing.h"
#include "support.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    int anchor = static_cast<int>(fuzz::takeByte(bytes) << 8 | fuzz::takeByte(bytes)) % 1002;
    grid::TextGrid table;
    combos::layoutTable(table, 1400);
    const std::string header = table.cell(0, 1);
    combos::pasteText(table, std::string(bytes), anchor);
    fuzz::require(table.cell(0, 1) == header, "the header is never overwritten");
    fuzz::require(table.rows() == combos::kDataRows + 1, "the table keeps its rows");
    for (int r = 1; r <= combos::kDataRows; ++r) {
        fuzz::require(table.cell(r, 0) == std::to_string(r), "row numbers stay");
        if (r < anchor) fuzz::require(table.cell(r, 1).empty(), "nothing above the anchor");
    }
    (void)combos::copyText(table, anchor, 1000 - anchor);
    return 0;
}
