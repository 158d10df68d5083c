#include "views/predraw.h"

#include <algorithm>
#include <array>
#include <bit>

#include "combos/evaluation.h"
#include "history/statistics.h"
#include "platform/platform.h"
#include "text/text.h"

namespace kazuban::views {

namespace {

// Binomial coefficients C(n, k) for n <= 31, k <= 5: the combinatorial number
// system ranks a sorted k-subset of 0..30 as sum C(v_i, i + 1).
struct Binomials {
    std::array<std::array<std::int32_t, 6>, 32> c{};
    constexpr Binomials() {
        for (int n = 0; n < 32; ++n) {
            c[n][0] = 1;
            for (int k = 1; k < 6; ++k) c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
constexpr Binomials kBinom;
constexpr int kSubsets3 = kBinom.c[31][3];  // 4495
constexpr int kSubsets4 = kBinom.c[31][4];  // 31465
constexpr int kSubsets5 = kBinom.c[31][5];  // 169911

// Rank of the sorted numbers v[0] < v[1] < ... (values 1..31).
template <std::size_t K>
int rankOf(const std::array<int, K>& v) {
    int r = 0;
    for (std::size_t i = 0; i < K; ++i) r += kBinom.c[v[i] - 1][i + 1];
    return r;
}

using combos::fieldMask;
using combos::gradeFromMatches;
using combos::plainFieldValue;

// A draw whose text is exactly the 17 ASCII characters of five distinct plain
// main fields and a plain bonus field: "field occurs in c" is then "bit set".
bool regularDraw(std::string_view t, std::uint32_t& mainMask, int& bonus) {
    if (t.size() != 17) return false;
    mainMask = 0;
    for (int j = 0; j < 5; ++j) {
        const int v = plainFieldValue(t[3 * j], t[3 * j + 1]);
        if (v == 0 || (mainMask >> v & 1u)) return false;
        mainMask |= 1u << v;
    }
    bonus = plainFieldValue(t[15], t[16]);
    return bonus != 0 && !(mainMask >> bonus & 1u);
}

constexpr std::array<const char*, 10> kHeaders = {"回",   "当選番号データ", "合計",      "当選回数",    "最新当選回",
                                                  "最高", "奇:偶",          "ﾍﾟｱ相性率", "ﾄﾘﾌﾟﾙ相性率", "５分割分布"};
constexpr std::array<int, 10> kWidths = {500, 2190, 620, 1070, 1320, 570, 720, 1220, 1440, 1590};

// The shift up by 50 and the newest-first order leave draw a in row n + 1 - a.
int finalRow(int n, int a) { return n + 1 - a; }

}  // namespace

// ---- the index of earlier draws ---------------------------------------------

PredrawIndex::PredrawIndex() : count3_(kSubsets3, 0), last3_(kSubsets3, 0), count4_(kSubsets4, 0), quint_(kSubsets5) {}

void PredrawIndex::add(const history::DrawHistory& h, int d) {
    if (!h.isValidDraw(d)) return;
    std::uint32_t mask = 0;
    int bonus = 0;
    // The 16-bit tables hold counts of at most 65,535 draws (a history holds
    // at most 32,767); beyond that a draw is compared literally.
    if (d > kMaxIndexedDraw || !regularDraw(h.entry(d), mask, bonus)) {
        irregular_.push_back(d);
        return;
    }
    regular_.push_back({d, mask, 1u << bonus});

    std::array<int, 5> v{};
    for (int n = 1, i = 0; n <= 31; ++n)
        if (mask >> n & 1u) v[i++] = n;
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            for (int c = b + 1; c < 5; ++c) {
                const int r = rankOf(std::array<int, 3>{v[a], v[b], v[c]});
                ++count3_[r];
                last3_[r] = static_cast<std::uint16_t>(d);  // draws come in ascending order
            }
    for (int skip = 0; skip < 5; ++skip) {
        std::array<int, 4> u{};
        for (int i = 0, k = 0; i < 5; ++i)
            if (i != skip) u[k++] = v[i];
        ++count4_[rankOf(u)];
        // Four main numbers and the bonus: a combination of exactly these five
        // numbers wins grade 2 in this draw.
        std::array<int, 5> w{};
        for (int i = 0, k = 0, placed = 0; k < 5; ++k) {
            if (!placed && (i == 4 || bonus < u[i])) {
                w[k] = bonus;
                placed = 1;
            } else {
                w[k] = u[i++];
            }
        }
        ++quint_[rankOf(w)].bonusWins;
    }
    ++quint_[rankOf(v)].draws;
}

WinSummary PredrawIndex::query(const history::DrawHistory& h, std::string_view combination) const {
    WinSummary s;
    if (combination.empty()) return s;
    for (int d : irregular_)
        if (const int g = combos::gradeLiteral(combination, h.entry(d))) addWin(s, d, g);

    const std::uint32_t cmask = fieldMask(combination);
    const int m = std::popcount(cmask);
    if (m < 3) return s;

    std::array<int, 31> v{};
    for (int n = 1, i = 0; n <= 31; ++n)
        if (cmask >> n & 1u) v[i++] = n;
    const long long subsets = static_cast<long long>(kBinom.c[m][3]) + kBinom.c[m][4] + kBinom.c[m][5];

    if (subsets > static_cast<long long>(regular_.size())) {
        // A text holding many numbers: comparing with each draw is cheaper.
        for (const Regular& r : regular_) {
            const int matches = std::popcount(r.mainMask & cmask);
            if (matches >= 3) addWin(s, r.draw, gradeFromMatches(matches, (r.bonusMask & cmask) != 0));
        }
        return s;
    }

    // A draw with k of its main numbers among the text's numbers holds C(k, 3)
    // of the text's triples, C(k, 4) of its quadruples and C(k, 5) of its
    // quintuples; the sums over them give the counts of k = 3, 4, 5.
    long long sum3 = 0, sum4 = 0, sum5 = 0, bonusWins = 0;
    int latest = 0;
    for (int a = 0; a < m; ++a)
        for (int b = a + 1; b < m; ++b)
            for (int c = b + 1; c < m; ++c) {
                const int r3 = rankOf(std::array<int, 3>{v[a], v[b], v[c]});
                sum3 += count3_[r3];
                latest = std::max(latest, static_cast<int>(last3_[r3]));
                for (int d = c + 1; d < m; ++d) {
                    sum4 += count4_[rankOf(std::array<int, 4>{v[a], v[b], v[c], v[d]})];
                    for (int e = d + 1; e < m; ++e) {
                        const int r5 = rankOf(std::array<int, 5>{v[a], v[b], v[c], v[d], v[e]});
                        sum5 += quint_[r5].draws;
                        bonusWins += quint_[r5].bonusWins;
                    }
                }
            }
    const long long five = sum5;
    const long long four = sum4 - 5 * five;
    const long long three = sum3 - 4 * four - 10 * five;
    const long long wins = three + four + five;
    if (wins == 0) return s;
    // Without a grade 1, every bonus win counted above is a draw of four
    // matches whose bonus is among the text's numbers: grade 2.
    const int best = five > 0 ? 1 : bonusWins > 0 ? 2 : four > 0 ? 3 : 4;
    s.count += wins;
    s.latest = std::max(s.latest, static_cast<double>(latest));
    s.best = std::min(s.best, static_cast<double>(best));
    return s;
}

// ---- shared pieces -----------------------------------------------------------

int literalGrade(std::string_view c, std::string_view t) { return combos::gradeLiteral(c, t); }

std::string winningNumbersText(const history::DrawHistory& h, int a) {
    const std::string& t = h.entry(a);
    const long len = static_cast<long>(text::Len(t));
    return text::Left(t, std::max(0L, len - 3));
}

void buildPredrawGrid(grid::TextGrid& view, int n) {
    view.setRows(std::max(n, 0) + 1);
    view.setCols(10);
    view.setFixedRows(1);
    view.setFixedCols(0);
    view.clear();
    for (int c = 0; c < 10; ++c) {
        view.setColWidth(c, kWidths[c]);
        view.setColAlignment(c, grid::Align::Centre);
        view.setCell(0, c, kHeaders[c]);
    }
    for (int i = 1; i <= n; ++i) view.setCell(i, 0, text::intText(i));
}

// ---- the analysis --------------------------------------------------------------

void scorePredrawRow(grid::TextGrid& view, int row, const WinSummary& wins, const history::PairTable& pairsBefore) {
    const std::string& c = view.cell(row, 1);
    if (c.size() < 14) return;
    // The text is read in full before the row's other cells are written.
    scoreIntoGrid(view, row, c, wins, pairsBefore);
}

void runPredrawAnalysis(const history::DrawHistory& h, int n, grid::TextGrid& view, PredrawState& state,
                        platform::Platform* progress) {
    n = std::min(n, h.maxn());
    if (n < kPredrawFirstDraw) return;
    state.reset();
    state.wins.assign(static_cast<std::size_t>(n) + 1, WinSummary{});

    if (progress) progress->showProgress(kPredrawFirstDraw, n);
    history::PairTable pairs{};
    history::buildPairTable(h, kPredrawFirstDraw - 1, pairs);
    PredrawIndex index;
    for (int d = 1; d < kPredrawFirstDraw; ++d) index.add(h, d);

    for (int a = kPredrawFirstDraw; a <= n; ++a) {
        const int row = finalRow(n, a);
        view.setCell(row, 1, winningNumbersText(h, a));
        view.setCell(row, 0, text::intText(a));
        // Texts shorter than 14 characters are listed without scores.
        if (const std::string& t = view.cell(row, 1); text::Len(t) >= 14) {
            const WinSummary w = index.query(h, t);
            state.wins[static_cast<std::size_t>(a)] = w;
            scorePredrawRow(view, row, w, pairs);
        }
        history::addDrawToPairTable(h, a, pairs);
        index.add(h, a);
        if (progress) progress->setProgress(a);
    }

    view.setFontSize(n > 999 ? 9 : 11);
    view.setRows(n - (kPredrawFirstDraw - 1) + 1);
    if (progress) progress->hideProgress();
}

grid::TextGrid predrawLiteral(const history::DrawHistory& h, int n) {
    grid::TextGrid view;
    n = std::min(n, h.maxn());
    buildPredrawGrid(view, n);
    if (n < kPredrawFirstDraw) return view;
    for (int a = kPredrawFirstDraw; a <= n; ++a) view.setCell(a, 1, winningNumbersText(h, a));

    history::PairTable pairs{};
    for (int a = kPredrawFirstDraw; a <= n; ++a) {
        history::buildPairTable(h, a - 1, pairs);
        WinSummary w;
        for (const combos::WinEntry& e : combos::winEntriesLiteral(h, view.cell(a, 1), a - 1))
            addWinEntry(w, combos::winEntryText(e));
        scorePredrawRow(view, a, w, pairs);
    }
    view.setFontSize(n > 999 ? 9 : 11);
    for (int a = kPredrawFirstDraw; a <= n; ++a)
        for (int j = 0; j <= 9; ++j) {
            view.setCell(a - 50, j, view.cell(a, j));
            view.clearCell(a, j);
        }
    view.setRows(n - 49);
    view.sortRows(1, n - 50, 0, false, grid::Comparison::Generic);
    return view;
}

}  // namespace kazuban::views
