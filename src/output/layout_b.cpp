#include <string>

#include "output/layouts.h"
#include "text/text.h"

namespace kazuban::output {

namespace {

void appendQuoted(std::string& out, const std::string& cell) {
    out += '"';
    for (char ch : cell) {
        // A quote inside a cell is doubled, so the field stays one field.
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

}  // namespace

std::string layoutB(const grid::TextGrid& view, int lastRow, int firstCol) {
    std::string out;
    for (int r = 0; r <= lastRow; ++r) {
        for (int c = firstCol; c <= 9; ++c) {
            const std::string& cell = view.cell(r, c);
            if (cell.empty()) {
                // A row that stops part-way still ends its record, in place of
                // the separator after its last written cell.
                if (c > firstCol) out.back() = '\n';
                break;
            }
            if (c == 6) appendQuoted(out, text::Left(cell, 1) + ";" + text::Right(cell, 1));
            else appendQuoted(out, cell);
            out += c == 9 ? '\n' : ',';
        }
    }
    return out;
}

}  // namespace kazuban::output
