#include "output/print_document.h"

#include "combos/combination_table.h"
#include "text/text.h"

namespace kazuban::output {

std::string drawLabel(int maxn) { return "第" + text::intText(maxn) + "回まで"; }

PrintDocument combinationTableDocument(const grid::TextGrid& table, int lastWinColumn, int maxn) {
    PrintDocument doc;
    doc.title = kWinsTitle;
    doc.drawLabel = drawLabel(maxn);
    doc.columns = {{table.cell(0, 0), table.colWidth(0), false},
                   {table.cell(0, 1), table.colWidth(1), false},
                   {kWinEntriesHeader, 8000, true}};
    for (int r = 1; r <= combos::kDataRows && r < table.rows(); ++r) {
        if (table.cell(r, 1).empty()) continue;
        std::string entries;
        for (int c = combos::kFirstWinColumn; c <= lastWinColumn; ++c) {
            const std::string& e = table.cell(r, c);
            if (e.empty()) break;
            if (!entries.empty()) entries += ' ';
            entries += e;
        }
        doc.rows.push_back({table.cell(r, 0), table.cell(r, 1), std::move(entries)});
    }
    return doc;
}

PrintDocument viewDocument(const grid::TextGrid& view, const std::string& title, int maxn) {
    PrintDocument doc;
    doc.title = title;
    doc.drawLabel = drawLabel(maxn);
    for (int c = 0; c < view.cols(); ++c) doc.columns.push_back({view.cell(0, c), view.colWidth(c), false});
    for (int r = 1; r < view.rows(); ++r) {
        if (view.cell(r, 1).empty()) continue;
        std::vector<std::string> row;
        row.reserve(static_cast<std::size_t>(view.cols()));
        for (int c = 0; c < view.cols(); ++c) row.push_back(view.cell(r, c));
        doc.rows.push_back(std::move(row));
    }
    return doc;
}

}  // namespace kazuban::output
