#include "ledger/purchase.h"

#include <algorithm>

#include "analysis/odds.h"
#include "text/app_error.h"

namespace kazuban::ledger {

std::array<int, 5> numbersOf(analysis::ComboMask mask) {
    std::array<int, 5> out{};
    std::size_t k = 0;
    for (int v = 1; v <= 31 && k < out.size(); ++v)
        if ((mask >> v) & 1u) out[k++] = v;
    return out;
}

std::string purchaseProblem(const Purchase& p) {
    if (p.firstDraw < 1 || p.firstDraw > kMaxDraw) return kBadDrawMessage;
    if (p.draws < 1 || p.draws > kMaxDraws) return kBadDrawsMessage;
    if (p.firstDraw + p.draws - 1 > kMaxDraw) return kBadDrawMessage;
    if (p.units < 1 || p.units > kMaxUnits) return kBadUnitsMessage;
    if (p.combos.empty()) return kNoComboMessage;
    try {
        checkMemo(p.memo);
    } catch (const AppError&) {
        return kBadMemoMessage;
    }
    return {};
}

std::vector<Row> purchaseRows(const Purchase& p) {
    std::vector<Row> out;
    out.reserve(p.combos.size() * static_cast<std::size_t>(std::max(p.draws, 0)));
    for (int d = 0; d < p.draws; ++d)
        for (const auto& numbers : p.combos) out.push_back(Row{p.firstDraw + d, numbers, p.units, p.date, 0, p.memo});
    return out;
}

std::int64_t purchaseCost(const Purchase& p) {
    return static_cast<std::int64_t>(p.combos.size()) * p.units * p.draws * 200;
}

std::string costText(const Purchase& p) {
    return analysis::groupedText(static_cast<std::int64_t>(p.combos.size())) + " 組 × " + std::to_string(p.units) +
           " 口 × " + std::to_string(p.draws) + " 回 = " + analysis::groupedText(purchaseCost(p)) + "円";
}

}  // namespace kazuban::ledger
