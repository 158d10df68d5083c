// check, sortcombos and generate: the combination table without a window.
#include <filesystem>
#include <string>
#include <vector>

#include "combos/combination_table.h"
#include "combos/combo_files.h"
#include "commands.h"
#include "output/layouts.h"
#include "session.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "text/text.h"

namespace kazuban::cli {

namespace {

using platform::Buttons;
using platform::Icon;

int printTable(const Context& ctx, Session& s) {
    return emitResult(ctx, output::layoutA(s.form.combinationTable(), 2));
}

}  // namespace

int loadCombinationFile(Session& s, const std::string& file) {
    // The steps of "呼出し" on an empty table: no question, rows from 1.
    app::Form1& form = s.form;
    const std::filesystem::path path = text::pathFromUtf8(file);
    if (!s.platform.fileExists(path)) {
        s.platform.messageBox(combos::missingFileMessage(path), Icon::Exclamation, Buttons::Ok);
        return 2;
    }
    combos::ComboFileLines read;
    try {
        read = combos::readCombinationFile(path);
    } catch (const AppError& e) {
        s.platform.messageBox(e.text(), Icon::None, Buttons::Ok);
        return 2;
    }
    form.run([&] {
        combos::placeLines(form.combinationTable(), 0, read.lines);
        form.wins().recalculateCombinationTable();
        form.frame().showDraw(form.state().maxn);
    });
    // The first 1000 lines are the table, as in the window; the note goes
    // to standard error and the command goes on.
    if (read.unread > 0) s.platform.messageBox(combos::unreadLinesMessage(read.unread), Icon::Exclamation, Buttons::Ok);
    return combos::firstInvalidRow(form.combinationTable()) > 0 ? 1 : 0;
}

int runCheck(const Context& ctx, const std::string& file) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    if ((code = loadCombinationFile(*s, file)) != 0) return code;
    return printTable(ctx, *s);
}

int runSortCombos(const Context& ctx, const std::string& file) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    if ((code = loadCombinationFile(*s, file)) != 0) return code;
    s->form.Command3_Click();
    return printTable(ctx, *s);
}

int runGenerate(const Context& ctx, int n, std::optional<unsigned long long> seed) {
    int code = 0;
    auto s = openSession(ctx, &code);
    if (!s) return code;
    if (seed) s->platform.seed(*seed);
    bool made = false;
    s->form.run([&] { made = s->form.wins().generateCombinations(n); });
    if (!made) return 1;
    // The batch in the combination-file form: one text a line, CR LF.
    std::string out;
    for (int r = 1; r <= n; ++r) {
        if (r > 1) out += "\r\n";
        out += s->form.combinationTable().cell(r, 1);
    }
    return emitResult(ctx, out);
}

}  // namespace kazuban::cli
