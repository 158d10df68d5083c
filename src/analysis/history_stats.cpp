#include "analysis/history_stats.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>

#include "analysis/draws.h"

namespace kazuban::analysis {

namespace {

// Bits 1..31 of the main-number masks.
constexpr std::uint32_t kOddBits = 0xAAAAAAAAu;
struct Group {
    const char* label;
    int first, last;
};
constexpr Group kGroups[6] = {{"1-5", 1, 5},     {"6-10", 6, 10},   {"11-15", 11, 15},
                              {"16-20", 16, 20}, {"21-25", 21, 25}, {"26-31", 26, 31}};

constexpr std::uint32_t bitsOf(int first, int last) {
    std::uint32_t m = 0;
    for (int v = first; v <= last; ++v) m |= 1u << v;
    return m;
}

long long binomial(int n, int k) {
    if (k < 0 || k > n) return 0;
    long long r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// How many of the 169,911 five-number sets have each sum and each number of
// consecutive pairs: counted once, on first use.
struct SetCounts {
    std::array<long long, 146> sum{};
    std::array<long long, 5> consecutive{};
};

const SetCounts& setCounts() {
    static const SetCounts counts = [] {
        SetCounts c;
        for (int a = 1; a <= 27; ++a)
            for (int b = a + 1; b <= 28; ++b)
                for (int d = b + 1; d <= 29; ++d)
                    for (int e = d + 1; e <= 30; ++e)
                        for (int f = e + 1; f <= 31; ++f) {
                            ++c.sum[static_cast<std::size_t>(a + b + d + e + f)];
                            const int pairs = (b == a + 1) + (d == b + 1) + (e == d + 1) + (f == e + 1);
                            ++c.consecutive[static_cast<std::size_t>(pairs)];
                        }
        return c;
    }();
    return counts;
}

// W × count / 169,911: the expected number of draws out of W.
double expectedDraws(int w, long long count) {
    return static_cast<double>(static_cast<long long>(w) * count) / static_cast<double>(kFiveSets);
}

std::string formatFixed(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

// A section whose rows are the values first..last with observed counts and
// expected counts; the caller fills the expectations.
StatsSection countSection(const char* name, const char* caption, const char* labelColumn, const char* labelCaption,
                          int first, int last, const int* observed) {
    StatsSection s;
    s.name = name;
    s.caption = caption;
    s.columns = {labelColumn, "observed", "expected"};
    s.captions = {labelCaption, "回数", "期待値"};
    s.expectation = {false, true};
    for (int v = first; v <= last; ++v)
        s.rows.push_back({std::to_string(v), {static_cast<double>(observed[v - first]), 0.0}});
    return s;
}

std::string csvCell(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string q = "\"";
    for (char c : cell) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string joinRows(const std::vector<std::vector<std::string>>& rows, char separator, bool quote) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out += separator;
            out += quote ? csvCell(row[c]) : row[c];
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

HistoryStats computeHistoryStats(const history::DrawHistory& history, int last) {
    HistoryStats s;
    const int maxn = history.maxn();
    std::vector<std::uint32_t> masks(static_cast<std::size_t>(std::max(maxn, 0)) + 1, 0);
    std::vector<int> strict;
    strict.reserve(masks.size());
    for (int n = 1; n <= maxn; ++n) {
        const std::uint32_t m = mainMask(history, n);
        masks[static_cast<std::size_t>(n)] = m;
        if (m != 0) strict.push_back(n);
        else ++s.leftOut;
    }
    const std::size_t count = strict.size();
    const std::size_t from = last > 0 && static_cast<std::size_t>(last) < count ? count - static_cast<std::size_t>(last)
                                                                                : 0;
    s.draws = static_cast<int>(count - from);
    if (s.draws == 0) return s;
    s.firstDraw = strict[from];
    s.lastDraw = strict.back();

    std::array<int, 32> lastSeen{};  // window index of the latest appearance, 0 before any
    int i = 0;
    for (std::size_t k = from; k < count; ++k) {
        const int n = strict[k];
        const std::uint32_t m = masks[static_cast<std::size_t>(n)];
        ++i;
        int sum = 0;
        for (std::uint32_t rest = m; rest != 0; rest &= rest - 1) {
            const int v = std::countr_zero(rest);
            sum += v;
            ++s.main[static_cast<std::size_t>(v)];
            s.longestGap[static_cast<std::size_t>(v)] =
                std::max(s.longestGap[static_cast<std::size_t>(v)], i - lastSeen[static_cast<std::size_t>(v)] - 1);
            lastSeen[static_cast<std::size_t>(v)] = i;
        }
        ++s.bonus[history.numbers[static_cast<std::size_t>(n)][5]];
        ++s.oddEven[static_cast<std::size_t>(std::popcount(m & kOddBits))];
        ++s.sum[static_cast<std::size_t>(sum)];
        ++s.range[static_cast<std::size_t>((31 - std::countl_zero(m)) - std::countr_zero(m))];
        ++s.consecutive[static_cast<std::size_t>(std::popcount(m & (m >> 1)))];
        for (std::size_t g = 0; g < 6; ++g) s.groups[g] += std::popcount(m & bitsOf(kGroups[g].first, kGroups[g].last));
        const std::uint32_t before = n > 1 ? masks[static_cast<std::size_t>(n - 1)] : 0;
        if (before != 0) {
            ++s.carryDraws;
            ++s.carryOver[static_cast<std::size_t>(std::popcount(m & before))];
        }
    }
    for (std::size_t v = 1; v <= 31; ++v) {
        s.currentGap[v] = s.draws - lastSeen[v];
        s.longestGap[v] = std::max(s.longestGap[v], s.draws - lastSeen[v]);
    }
    return s;
}

std::string StatsSection::cell(std::size_t row, std::size_t col) const {
    const StatsRow& r = rows.at(row);
    if (col == 0) return r.label;
    const double v = r.values.at(col - 1);
    if (expectation.at(col - 1)) return formatFixed(v);
    return std::to_string(static_cast<long long>(v));
}

StatsSection statsSection(const HistoryStats& st, Analysis analysis) {
    const int w = st.draws;
    switch (analysis) {
    case Analysis::Frequency: {
        StatsSection s;
        s.name = "frequency";
        s.caption = "出現回数";
        s.columns = {"number", "main", "bonus", "expected_main"};
        s.captions = {"数字", "本数字", "ボーナス", "期待値（本数字）"};
        s.expectation = {false, false, true};
        const double expected = static_cast<double>(w * 5) / 31.0;
        for (std::size_t v = 1; v <= 31; ++v)
            s.rows.push_back(
                {std::to_string(v), {static_cast<double>(st.main[v]), static_cast<double>(st.bonus[v]), expected}});
        return s;
    }
    case Analysis::OddEven: {
        StatsSection s = countSection("odd_even", "奇数・偶数", "odd", "奇数の個数", 0, 5, st.oddEven.data());
        for (int k = 0; k <= 5; ++k)
            s.rows[static_cast<std::size_t>(k)].values[1] = expectedDraws(w, binomial(16, k) * binomial(15, 5 - k));
        return s;
    }
    case Analysis::Sum: {
        StatsSection s = countSection("sum", "合計", "sum", "合計", 15, 145, st.sum.data() + 15);
        const SetCounts& c = setCounts();
        for (std::size_t k = 0; k < s.rows.size(); ++k) s.rows[k].values[1] = expectedDraws(w, c.sum[k + 15]);
        return s;
    }
    case Analysis::Range: {
        StatsSection s = countSection("range", "ばらつき", "range", "最大－最小", 4, 30, st.range.data() + 4);
        for (int r = 4; r <= 30; ++r)
            s.rows[static_cast<std::size_t>(r - 4)].values[1] = expectedDraws(w, (31 - r) * binomial(r - 1, 3));
        return s;
    }
    case Analysis::Consecutive: {
        StatsSection s = countSection("consecutive", "連番", "pairs", "連番の組数", 0, 4, st.consecutive.data());
        const SetCounts& c = setCounts();
        for (std::size_t k = 0; k < s.rows.size(); ++k) s.rows[k].values[1] = expectedDraws(w, c.consecutive[k]);
        return s;
    }
    case Analysis::Groups: {
        StatsSection s;
        s.name = "groups";
        s.caption = "６分割";
        s.columns = {"group", "observed", "expected"};
        s.captions = {"区分", "本数字の個数", "期待値"};
        s.expectation = {false, true};
        for (std::size_t g = 0; g < 6; ++g) {
            const int size = kGroups[g].last - kGroups[g].first + 1;
            s.rows.push_back(
                {kGroups[g].label, {static_cast<double>(st.groups[g]), static_cast<double>(w * 5 * size) / 31.0}});
        }
        return s;
    }
    case Analysis::CarryOver: {
        StatsSection s =
            countSection("carry_over", "引っ張り", "repeated", "前回と同じ数字", 0, 5, st.carryOver.data());
        for (int k = 0; k <= 5; ++k)
            s.rows[static_cast<std::size_t>(k)].values[1] =
                expectedDraws(st.carryDraws, binomial(5, k) * binomial(26, 5 - k));
        return s;
    }
    case Analysis::Gaps: {
        StatsSection s;
        s.name = "gaps";
        s.caption = "出現間隔";
        s.columns = {"number", "current_gap", "longest_gap"};
        s.captions = {"数字", "現在の間隔", "最長間隔"};
        s.expectation = {false, false};
        for (std::size_t v = 1; v <= 31; ++v)
            s.rows.push_back(
                {std::to_string(v), {static_cast<double>(st.currentGap[v]), static_cast<double>(st.longestGap[v])}});
        return s;
    }
    }
    return {};
}

std::string analysisReport(const HistoryStats& stats) {
    std::string out = "draws," + std::to_string(stats.draws) + "\n";
    for (int a = 0; a < kAnalysisCount; ++a) {
        const StatsSection s = statsSection(stats, static_cast<Analysis>(a));
        out += "[" + s.name + "]\n";
        for (std::size_t c = 0; c < s.columns.size(); ++c) out.append(c ? "," : "").append(s.columns[c]);
        out += "\n";
        for (std::size_t r = 0; r < s.rows.size(); ++r) {
            for (std::size_t c = 0; c < s.columns.size(); ++c) out.append(c ? "," : "").append(s.cell(r, c));
            out += "\n";
        }
    }
    return out;
}

std::string tabSeparatedText(const std::vector<std::vector<std::string>>& rows) { return joinRows(rows, '\t', false); }

std::string csvText(const std::vector<std::vector<std::string>>& rows) { return joinRows(rows, ',', true); }

}  // namespace kazuban::analysis
