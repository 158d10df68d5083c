// totals and predraw: tabs 1 and 4 as their print file tmptxt2.csv holds them.
#include <cstdio>

#include "app/form1.h"
#include "commands.h"
#include "output/layouts.h"
#include "session.h"

namespace kazuban::cli {

namespace {

bool validTotalsSort(int k) { return k >= 1 && k <= 9 && k != 5; }

// "7k" -> column 7, descending; nullopt when the key is not one of the menu's.
struct PredrawSort {
    int column;
    bool ascending;
};
std::optional<PredrawSort> parsePredrawSort(const std::string& key) {
    if (key.size() != 2 || key[0] < '0' || key[0] > '9' || key[0] == '5') return std::nullopt;
    if (key[1] != 's' && key[1] != 'k') return std::nullopt;
    return PredrawSort{key[0] - '0', key[1] == 's'};
}

}  // namespace

int runTotals(const Context& ctx, const std::string& file, std::optional<int> sortColumn) {
    if (sortColumn && !validTotalsSort(*sortColumn)) {
        std::fprintf(stderr, "--sort は 1, 2, 3, 4, 6, 7, 8, 9 のどれかです。\n");
        return 2;
    }
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    if ((code = loadCombinationFile(*s, file)) != 0) return code;
    app::Form1& form = s->form;
    form.SSTab1_Click(app::kTabTotals);
    if (sortColumn) {
        if (*sortColumn == 1) form.psmnu1_click();
        else form.run([&] { form.totals().pbsort(*sortColumn); }, app::kTabTotals);
    }
    return emitResult(ctx, output::layoutB(form.totals().grid(), 1000, 1));
}

int runPredraw(const Context& ctx, std::optional<std::string> sortKey) {
    std::optional<PredrawSort> sort;
    if (sortKey) {
        sort = parsePredrawSort(*sortKey);
        if (!sort) {
            std::fprintf(stderr, "--sort は列 (0-4, 6-9) と s (昇順) か k (降順) です。例: 7k\n");
            return 2;
        }
    }
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    app::Form1& form = s->form;
    form.SSTab1_Click(app::kTabPredraw);
    // Fewer than 51 draws: there is no analysis to print.
    if (form.predraw().chg() != 1) return 0;
    if (sort) form.ptsmnuSort(sort->column, sort->ascending);
    const grid::TextGrid& view = form.predraw().grid();
    return emitResult(ctx, output::layoutB(view, view.rows() - 1, 0));
}

}  // namespace kazuban::cli
