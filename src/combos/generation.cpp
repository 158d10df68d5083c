#include "combos/generation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text/text.h"

namespace kazuban::combos {

namespace {

// Random draws one combination may take, and combinations one batch may try.
// A normal batch needs a few hundred draws; these only stop a loop that
// cannot end.
constexpr long kDrawsPerCombination = 100000;
constexpr int kCombinationsPerBatch = 100000;
constexpr long kDrawsPerBatch = 2000000;

std::string field(int n) { return n < 10 ? std::string{' ', static_cast<char>('0' + n)} : std::to_string(n); }

// floor(k * u) + offset, with u in [0, 1).
int pick(platform::Platform& p, int k, int offset) {
    const int v = static_cast<int>(std::floor(k * p.random()));
    return std::clamp(v, 0, k - 1) + offset;
}

// The ranks the recipe draws from must name numbers 1..31.
bool rankingUsable(const history::RecentRanking& ranking) {
    constexpr int kRanks[4][2] = {{0, 0}, {2, 6}, {12, 18}, {22, 29}};
    for (int w = 1; w <= 3; ++w)
        for (int r = kRanks[w][0]; r <= kRanks[w][1]; ++r)
            if (ranking.number[w][r] < 1 || ranking.number[w][r] > 31) return false;
    return true;
}

std::optional<std::string> makeOne(const history::RecentRanking& ranking, std::string_view drawBefore,
                                   platform::Platform& p, long& budget) {
    p.seedFromClock();
    std::array<int, 5> n{};
    auto taken = [&](int v, int upto) { return std::find(n.begin(), n.begin() + upto, v) != n.begin() + upto; };
    // Draws until `accept` holds; false when the budget ran out.
    auto drawUntil = [&](int slot, auto next, auto accept) {
        do {
            if (--budget < 0) return false;
            n[slot] = next();
        } while (!accept(n[slot]));
        return true;
    };
    auto notTaken = [&](int slot) { return [&, slot](int v) { return !taken(v, slot); }; };

    if (!drawUntil(
            0, [&] { return pick(p, 31, 1); }, [](int) { return true; }))
        return std::nullopt;
    if (!drawUntil(
            1, [&] { return int(ranking.number[1][pick(p, 5, 2)]); }, notTaken(1)))
        return std::nullopt;
    if (!drawUntil(
            2, [&] { return int(ranking.number[2][pick(p, 7, 12)]); }, notTaken(2)))
        return std::nullopt;
    if (!drawUntil(
            3, [&] { return int(ranking.number[3][pick(p, 8, 22)]); }, notTaken(3)))
        return std::nullopt;
    if (!drawUntil(
            4, [&] { return pick(p, 31, 1); },
            [&](int v) { return !taken(v, 4) && text::InStr(drawBefore, field(v)) > 0; }))
        return std::nullopt;

    for (int j = 1; j < 5; ++j)
        for (int i = j; i >= 1 && n[i] < n[i - 1]; --i) std::swap(n[i], n[i - 1]);
    std::string c = field(n[0]);
    for (int j = 1; j < 5; ++j) {
        c += ',';
        c += field(n[j]);
    }
    return c;
}

}  // namespace

std::optional<std::string> generationRefusal(const history::DrawHistory& h, int maxn,
                                             const history::RecentRanking& ranking) {
    if (maxn < kMinDrawsForGeneration || h.maxn() < maxn)
        return "簡易ﾃﾞｰﾀの作成には、当選番号が" + text::intText(kMinDrawsForGeneration) + "回分以上必要です。";
    if (!rankingUsable(ranking)) return generationFailedMessage();
    const int before = maxn - 1;
    bool usable = h.isValidDraw(before);
    if (usable) {
        usable = false;
        for (int v = 1; v <= 31 && !usable; ++v) usable = text::InStr(h.entry(before), field(v)) > 0;
    }
    if (!usable)
        return "第" + text::intText(before) + "回の当選番号が正しく書かれていないため、簡易ﾃﾞｰﾀを作成できません。";
    return std::nullopt;
}

std::string generationFailedMessage() { return "条件に合う組合せを作成できませんでした。"; }

std::optional<std::string> generateCombination(const history::RecentRanking& ranking, std::string_view drawBefore,
                                               platform::Platform& platform) {
    long budget = kDrawsPerCombination;
    return makeOne(ranking, drawBefore, platform, budget);
}

int sharedFields(std::string_view c, std::string_view other) {
    int shared = 0;
    for (long k = 1; k <= 5; ++k)
        if (text::InStr(other, text::Mid(c, 3 * k - 2, 2)) > 0) ++shared;
    return shared;
}

std::optional<std::vector<std::string>> generateBatch(const history::RecentRanking& ranking,
                                                      std::string_view drawBefore, int n,
                                                      platform::Platform& platform) {
    if (!rankingUsable(ranking)) return std::nullopt;
    std::vector<std::string> batch;
    long budget = kDrawsPerBatch;
    int tries = 0;
    while (static_cast<int>(batch.size()) < n) {
        if (++tries > kCombinationsPerBatch || budget <= 0) return std::nullopt;
        long own = std::min(budget, kDrawsPerCombination);
        const long before = own;
        auto c = makeOne(ranking, drawBefore, platform, own);
        budget -= before - own;
        if (!c) continue;
        const bool farApart = std::all_of(batch.begin(), batch.end(),
                                          [&](const std::string& m) { return *c != m && sharedFields(*c, m) < 3; });
        if (farApart) batch.push_back(std::move(*c));
    }
    std::stable_sort(batch.begin(), batch.end());
    return batch;
}

}  // namespace kazuban::combos
