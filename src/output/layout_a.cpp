// Layout A: the combination table as CSV.
#include "output/layouts.h"

namespace kazuban::output {

namespace {

constexpr int kTableRows = 1000;

void appendQuoted(std::string& out, const std::string& cell) {
    out += '"';
    // A cell typed with a double quote would otherwise end its field early.
    if (cell.find('"') == std::string::npos) {
        out += cell;
    } else {
        for (char ch : cell) {
            if (ch == '"') out += '"';
            out += ch;
        }
    }
    out += '"';
}

}  // namespace

std::string layoutA(const grid::TextGrid& table, int s) {
    std::string out;
    for (int r = 1; r <= kTableRows; ++r) {
        if (s == 0 && table.cell(r, 0).empty()) continue;
        // c: the first empty cell from column s on; the record runs to it.
        int c = s;
        while (!table.cell(r, c).empty()) ++c;
        for (int col = 1; col <= c; ++col) {
            if (col > 1) out += ',';
            appendQuoted(out, table.cell(r, col));
        }
        out += '\n';
    }
    return out;
}

}  // namespace kazuban::output
