// analysis, randomness, adddraw and import: the statistics of the history
// beside their expectations, the tests of the history against chance, a new
// draw appended to atarimgrp.txt, and results files merged into
// atarimgrp.txt and atarikin.csv.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "analysis/history_stats.h"
#include "analysis/randomness.h"
#include "commands.h"
#include "history/add_draw.h"
#include "history/import.h"
#include "platform/line_file.h"
#include "session.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::cli {

namespace {

namespace fs = std::filesystem;

void printError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

// --last N: a whole number of at least 1; one beyond every history means all draws.
bool parseLast(const std::string& s, int* last) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
    long long v = 0;
    for (char c : s) v = std::min<long long>(v * 10 + (c - '0'), INT_MAX);
    if (v < 1) return false;
    *last = static_cast<int>(v);
    return true;
}

// The statistics of the window that --last asks for; nothing, with the exit
// code in *code, when the argument or the history is refused.
std::optional<analysis::HistoryStats> windowStats(const Context& ctx, const std::optional<std::string>& last,
                                                  int* code) {
    int window = 0;
    if (last && !parseLast(*last, &window)) {
        printError("--last には 1 以上の回数を指定して下さい。");
        *code = 2;
        return std::nullopt;
    }
    auto s = openSession(ctx, code);
    if (!s) return std::nullopt;
    return analysis::computeHistoryStats(s->form.state().history, window);
}

}  // namespace

int runAnalysis(const Context& ctx, const std::optional<std::string>& last) {
    int code = 0;
    const auto stats = windowStats(ctx, last, &code);
    if (!stats) return code;
    return emitLfText(ctx, analysis::analysisReport(*stats));
}

int runRandomness(const Context& ctx, const std::optional<std::string>& last) {
    int code = 0;
    const auto found = windowStats(ctx, last, &code);
    if (!found) return code;
    const analysis::HistoryStats& stats = *found;
    if (stats.draws == 0) {
        printError("検定できる当選番号がありません。");
        return 1;
    }
    return emitLfText(ctx, analysis::randomnessText(analysis::randomnessReport(stats)));
}

int runAddDraw(const Context& ctx, const std::string& numbers) {
    const history::DrawCheck check = history::parseDrawArgument(numbers);
    if (!check.numbers) {
        printError(check.problem);
        return 1;
    }
    const fs::path file = text::pathFromUtf8(ctx.dir) / "atarimgrp.txt";
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        printError(app::missingDataFileMessage("atarimgrp.txt", text::pathFromUtf8(ctx.dir)));
        return 2;
    }
    history::AppendedDraw appended;
    try {
        appended = history::appendDraw(file, *check.numbers);
    } catch (const AppError& e) {
        printError(e.text());
        // Refused data (an empty or full history) is 1; a file that cannot
        // be read or written is 2.
        return e.code() == kInvalidCall || e.code() == kSubscript ? 1 : 2;
    }
    return emitLfText(ctx, appended.line + "\n");
}

int runImport(const Context& ctx, const std::vector<std::string>& files) {
    const fs::path file = text::pathFromUtf8(ctx.dir) / "atarimgrp.txt";
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        printError(app::missingDataFileMessage("atarimgrp.txt", text::pathFromUtf8(ctx.dir)));
        return 2;
    }
    history::ImportPlan plan;
    try {
        std::vector<history::ImportSource> sources;
        for (const std::string& f : files) sources.push_back(history::readImportSource(text::pathFromUtf8(f), f));
        plan = history::planImport(file, sources);
    } catch (const AppError& e) {
        printError(e.text());
        // An empty or overfull history is refused data; a file that cannot be read is 2.
        return e.code() == kInvalidCall || e.code() == kSubscript ? 1 : 2;
    }
    if (plan.refused()) {
        std::string text = history::problemsText(plan.problems);
        text.pop_back();
        printError(text);
        return 1;
    }
    try {
        history::commitImport(plan);
    } catch (const AppError& e) {
        printError(e.text());
        return 2;
    }
    if (!plan.changes()) printError(history::kNothingNew);
    return emitLfText(ctx, history::importSummary(plan));
}

}  // namespace kazuban::cli
