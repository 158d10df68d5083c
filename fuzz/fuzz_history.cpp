// The winning-numbers file: decoding, line splitting, validation, the
// statistics and the fast evaluation index built on whatever the file holds.
#include <cstdint>
#include <string>
#include <string_view>

#include "combos/evaluation.h"
#include "history/statistics.h"
#include "platform/line_file.h"
#include "support.h"
#include "text/app_error.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    history::LoadResult loaded;
    try {
        loaded = history::historyFromLines(text::splitLines(platform::decodeFileBytes(bytes)));
    } catch (const AppError&) {
        return 0;  // refused with a message: fine
    }
    const auto& h = loaded.history;
    fuzz::require(h.valid.size() == h.entries.size() && h.numbers.size() == h.entries.size(),
                  "per-draw tables match the entries");
    fuzz::require(h.maxn() <= history::kMaxDraws, "draw count bounded");
    (void)history::problemsMessage(loaded.problems);

    history::PairTable pairs{};
    history::buildPairTable(h, h.maxn(), pairs);
    for (int x = 1; x <= 31; ++x)
        for (int y = 1; y <= 31; ++y) fuzz::require(pairs[x][y] == pairs[y][x], "pair table symmetric");
    auto ranking = history::buildRanking(h);
    for (int w = 1; w <= 3; ++w)
        for (int r = 1; r < 31; ++r)
            fuzz::require(ranking.count[w][r] >= ranking.count[w][r + 1], "ranking descending");

    // The index must agree with the draw-by-draw rule for the history's own
    // texts used as combinations.
    combos::DrawIndex index(h);
    for (int d = 1; d <= h.maxn() && d <= 40; ++d) {
        std::string c = h.entry(d).substr(0, 14);
        fuzz::require(index.winEntries(c, h.maxn()) == combos::winEntriesLiteral(h, c, h.maxn()),
                      "fast evaluation equals the literal rule");
    }
    return 0;
}
