#include "views/scoring.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text/text.h"

namespace kazuban::views {

namespace {

using text::Left;
using text::Mid;
using text::Val;

bool isAscii(std::string_view s) {
    for (unsigned char ch : s)
        if (ch >= 0x80) return false;
    return true;
}

// Val of a two-character field; the plain forms (" 7", "07", "12") directly.
double fieldValue(const std::string& f) {
    if (f.size() == 2 && f[1] >= '0' && f[1] <= '9') {
        if (f[0] == ' ') return f[1] - '0';
        if (f[0] >= '0' && f[0] <= '9') return (f[0] - '0') * 10 + (f[1] - '0');
    }
    return Val(f);
}

// The five two-character fields at positions 1, 4, 7, 10 and 13 and their values.
struct Fields {
    std::array<std::string, 5> f;
    std::array<double, 5> x{};
};
Fields fieldsOf(std::string_view c) {
    Fields out;
    const bool ascii = isAscii(c);
    for (int i = 0; i < 5; ++i) {
        const std::size_t pos = static_cast<std::size_t>(3 * i);
        if (ascii) out.f[i] = pos < c.size() ? std::string(c.substr(pos, 2)) : std::string();
        else out.f[i] = Mid(c, 3 * i + 1, 2);
        out.x[i] = fieldValue(out.f[i]);
    }
    return out;
}

// Table index of a field's value, or -1 when the value indexes no entry.
int tableIndex(double x) {
    if (!(x >= 0 && x <= 31)) return -1;
    const double whole = std::floor(x);
    return whole == x ? static_cast<int>(whole) : -1;
}

// Str without its leading blank (negative values keep their "-").
std::string strNoBlank(double v) {
    std::string s = text::Str(v);
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

// The texts Str produces are ASCII, so the character cuts are byte cuts here.
// "0" followed by n characters of s from 1-based position start1.
std::string zeroAndMid(const std::string& s, std::size_t start1, std::size_t n) {
    std::string out(1, '0');
    if (start1 - 1 < s.size()) out.append(s, start1 - 1, n);
    return out;
}
std::string asciiLeft(const std::string& s, std::size_t n) { return s.substr(0, std::min(n, s.size())); }

PairScore pairScoreOf(const Fields& fields, const history::PairTable& pairs) {
    const auto& f = fields.f;
    std::array<int, 5> idx{};
    for (int i = 0; i < 5; ++i) idx[i] = tableIndex(fields.x[i]);
    auto pair = [&](int i, int j) -> double {
        if (idx[i] < 0 || idx[j] < 0) return 0;
        return pairs[idx[i]][idx[j]];
    };

    // The five rates, their sum and their average are single precision.
    float rateSum = 0.0f;
    double tSum = 0;
    for (int i = 0; i < 5; ++i) {
        double t = 0;
        for (int j = 0; j < 5; ++j)
            if (f[j] != f[i]) t += pair(i, j);
        tSum += t;
        const double own = pair(i, i);
        const float rate = own != 0 ? static_cast<float>((t / own) * 0.5) : 0.0f;
        rateSum = rateSum + rate;
    }
    const float avg = rateSum / 5.0f;

    PairScore out;
    out.pairSum = 0.5 * tSum;
    const std::string rounded = text::Str(Val(asciiLeft(text::Str(static_cast<double>(avg) + 0.0005), 6)));
    out.rateText = zeroAndMid(rounded, 2, 4);
    return out;
}

}  // namespace

void addWinEntry(WinSummary& summary, std::string_view entry) {
    // The entries the evaluation writes ("123=4") are read directly; any
    // other text by the number text rules, with the same result.
    const std::size_t eq = entry.find('=');
    if (eq != std::string_view::npos && eq > 0 && eq <= 9 && eq + 1 < entry.size()) {
        long long draw = 0;
        std::size_t i = 0;
        for (; i < eq && entry[i] >= '0' && entry[i] <= '9'; ++i) draw = draw * 10 + (entry[i] - '0');
        const char g = entry[eq + 1];
        if (i == eq && g >= '0' && g <= '9') {
            addWin(summary, static_cast<double>(draw), g - '0');
            return;
        }
    }
    const long p = text::InStr(entry, "=");
    const double draw = Val(Left(entry, p));
    const double grade = Val(Mid(entry, p + 1, 1));
    addWin(summary, draw, grade);
}

WinSummary summarizeWinEntries(const grid::TextGrid& table, int row, int lastColumn) {
    WinSummary s;
    const int last = std::min(lastColumn, table.storedCells(row) - 1);
    for (int c = 2; c <= last; ++c) {
        const std::string& e = table.cell(row, c);
        if (e.empty()) break;
        addWinEntry(s, e);
    }
    return s;
}

PairScore pairScore(std::string_view combination, const history::PairTable& pairs) {
    return pairScoreOf(fieldsOf(combination), pairs);
}

std::string tripleRateText(double wins, double pairSum) {
    if (pairSum == 0) return "0";
    const double y = wins * 10000 / pairSum;
    const double z = Val(asciiLeft(text::Str(y), 7)) / 10000 + 0.00005;
    return zeroAndMid(text::Str(z), 2, 5);
}

bool scoreCombination(std::string_view combination, const WinSummary& wins, const history::PairTable& pairs,
                      RowScores& out) {
    if (combination.size() < 14 || text::Len(combination) < 14) return false;
    const Fields fields = fieldsOf(combination);
    const auto& x = fields.x;
    double sum = 0;
    int even = 0;
    std::array<int, 6> bins{};
    for (int i = 0; i < 5; ++i) {
        sum += x[i];
        if (std::floor(x[i] / 2) * 2 == x[i]) ++even;
        const int bin = x[i] > 24 ? 5 : x[i] > 18 ? 4 : x[i] > 12 ? 3 : x[i] > 6 ? 2 : 1;
        ++bins[bin];
    }
    const int odd = 5 - even;

    out.sum = strNoBlank(sum);
    out.oddEven = {static_cast<char>('0' + odd), ':', static_cast<char>('0' + even)};

    out.wins = text::intText(wins.count);
    out.latest = text::plainText(wins.latest);
    out.best = wins.best == 10 ? std::string("0") : text::plainText(wins.best);

    const PairScore p = pairScoreOf(fields, pairs);
    out.pairRate = p.rateText;
    out.tripleRate = tripleRateText(static_cast<double>(wins.count), p.pairSum);

    out.distribution.clear();
    for (int k = 1; k <= 5; ++k) {
        if (k > 1) out.distribution += ':';
        out.distribution += static_cast<char>('0' + bins[k]);
    }
    return true;
}

bool scoreIntoGrid(grid::TextGrid& view, int row, std::string_view combination, const WinSummary& wins,
                   const history::PairTable& pairs) {
    RowScores s;
    if (!scoreCombination(combination, wins, pairs, s)) return false;
    // The last column first: the row's storage grows once.
    view.setCell(row, 9, std::move(s.distribution));
    view.setCell(row, 8, std::move(s.tripleRate));
    view.setCell(row, 7, std::move(s.pairRate));
    view.setCell(row, 6, std::move(s.oddEven));
    view.setCell(row, 5, std::move(s.best));
    view.setCell(row, 4, std::move(s.latest));
    view.setCell(row, 3, std::move(s.wins));
    view.setCell(row, 2, std::move(s.sum));
    return true;
}

}  // namespace kazuban::views
