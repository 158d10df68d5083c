#include "history/statistics.h"

#include <algorithm>
#include <utility>

namespace kazuban::history {

void addDrawToPairTable(const DrawHistory& h, int d, PairTable& table) {
    if (!h.isValidDraw(d)) return;
    const auto& v = h.numbers[static_cast<std::size_t>(d)];
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b) ++table[v[a]][v[b]];
}

void buildPairTable(const DrawHistory& h, int n, PairTable& out) {
    // Row and column 0 are not numbers and stay as they are.
    for (int x = 1; x < 32; ++x)
        for (int y = 1; y < 32; ++y) out[x][y] = 0;
    const int last = std::min(n, h.maxn());
    for (int d = 1; d <= last; ++d) addDrawToPairTable(h, d, out);
}

void sortRecentWindow(RecentRanking& ranking, int w) {
    if (w < 1 || w > 3) return;
    auto& count = ranking.count[static_cast<std::size_t>(w)];
    auto& number = ranking.number[static_cast<std::size_t>(w)];
    // The inner pass always runs down to position 1; only a strictly smaller
    // count moves down, so equal counts keep their order.
    for (int i = 1; i <= 30; ++i)
        for (int j = i; j >= 1; --j)
            if (count[j] < count[j + 1]) {
                std::swap(count[j], count[j + 1]);
                std::swap(number[j], number[j + 1]);
            }
}

RecentRanking buildRanking(const DrawHistory& h) {
    RecentRanking r;
    for (int w = 1; w <= 3; ++w)
        for (int k = 1; k <= 31; ++k) r.number[w][k] = static_cast<std::int16_t>(k);
    const int maxn = h.maxn();
    for (int w = 1; w <= 3; ++w) {
        // Window 1 is the latest seven draws, window 2 the seven before, ...;
        // a short history leaves a window with fewer draws (never entry 0).
        const int last = maxn - 7 * (w - 1);
        const int first = std::max(1, last - 6);
        for (int d = first; d <= last; ++d) {
            if (!h.isValidDraw(d)) continue;
            for (auto v : h.numbers[static_cast<std::size_t>(d)]) ++r.count[w][v];
        }
        sortRecentWindow(r, w);
    }
    return r;
}

}  // namespace kazuban::history
