// Layouts A and B fed with arbitrary cell texts: records stay apart and every
// quote inside a cell is doubled.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "grid/text_grid.h"
#include "output/layouts.h"
#include "support.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    grid::TextGrid view(12, 10, 1, 1);
    grid::TextGrid table(1001, 30, 1, 2);
    for (int r = 1; r <= 1000; ++r) table.setCell(r, 0, std::to_string(r));
    // Cells are separated by NUL bytes and filled row by row.
    int cell = 0;
    while (!bytes.empty() && cell < 12 * 10) {
        auto end = bytes.find('\0');
        std::string text(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        view.setCell(cell / 10, cell % 10, text);
        table.setCell(1 + cell / 10, 1 + cell % 10, text);
        ++cell;
    }
    for (int s : {0, 2}) {
        std::string a = output::layoutA(table, s);
        fuzz::require(std::count(a.begin(), a.end(), '"') % 2 == 0, "quotes balanced in layout A");
    }
    for (int first : {0, 1}) {
        std::string b = output::layoutB(view, 11, first);
        fuzz::require(std::count(b.begin(), b.end(), '"') % 2 == 0, "quotes balanced in layout B");
    }
    return 0;
}
