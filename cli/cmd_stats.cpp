#include <algorithm>
#include <cstdio>
#include <string>

#include "commands.h"
#include "session.h"

namespace kazuban::cli {

namespace {

std::string format(const char* pattern, int a) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, a);
    return buf;
}

std::string drawRange(int first, int last) {
    if (last < first) return "（なし）";
    return "第" + std::to_string(first) + "回～第" + std::to_string(last) + "回";
}

}  // namespace

int runStats(const Context& ctx) {
    int status = 0;
    auto session = openSession(ctx, &status);
    if (!session) return status;
    const app::Form1& form = session->form;
    const int maxn = form.state().history.maxn();
    const char* eol = "\r\n";

    std::string out = "ペア出現回数 " + drawRange(1, maxn) + "（ボーナス数字を含む。対角はその数字の出現回数）";
    if (!form.state().reportedProblems.empty())
        out += "（正しくない " + std::to_string(form.state().reportedProblems.size()) + " 行は含みません）";
    out += eol;
    out += "   ";
    for (int y = 1; y <= 31; ++y) out += format("%6d", y);
    out += eol;
    for (int x = 1; x <= 31; ++x) {
        out += format("%3d", x);
        for (int y = 1; y <= 31; ++y) out += format("%6d", form.state().pairCounts[x][y]);
        out += eol;
    }

    out += eol;
    out += "直近の出現順位（数字:回数、同じ回数は数字の小さい順）";
    out += eol;
    for (int w = 1; w <= 3; ++w) {
        const int last = maxn - 7 * (w - 1);
        out += "区間" + std::to_string(w) + ": " + drawRange(std::max(1, last - 6), last) + eol;
    }
    out += "順位   区間1  区間2  区間3";
    out += eol;
    for (int r = 1; r <= 31; ++r) {
        out += format("%4d", r);
        for (int w = 1; w <= 3; ++w) {
            const std::string cell = format("%2d", form.state().recentRanking.number[w][r]) + ":" +
                                     std::to_string(form.state().recentRanking.count[w][r]);
            out += std::string(7 - std::min<std::size_t>(6, cell.size()), ' ') + cell;
        }
        if (r < 31) out += eol;
    }
    return emitResult(ctx, out);
}

}  // namespace kazuban::cli
