#pragma once
// A purchase: the same combinations for one or more draws in a row (継続),
// with the same units each, as rows of the ledger.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/combination_values.h"
#include "ledger/ledger_file.h"

namespace kazuban::ledger {

struct Purchase {
    std::vector<std::array<int, 5>> combos;  // ascending numbers, in table order
    int firstDraw = 1;
    int draws = 1;  // 継続
    int units = 1;
    int date = 0;  // YYYYMMDD; 0 when unknown
    std::string memo;
};

// The numbers of a combination's mask, ascending.
std::array<int, 5> numbersOf(analysis::ComboMask mask);

// Why the purchase cannot be added ("" when it can): draws outside
// 1..32767, 継続 or units outside 1..10, no combination, a memo that cp932
// cannot hold.
std::string purchaseProblem(const Purchase& p);
// For each draw, one row per combination in order.
std::vector<Row> purchaseRows(const Purchase& p);
std::int64_t purchaseCost(const Purchase& p);
// "5 組 × 2 口 × 3 回 = 6,000円"
std::string costText(const Purchase& p);

inline constexpr const char* kBadDrawMessage = "回は 1 から 32767 までの範囲で入れてください。";
inline constexpr const char* kBadDrawsMessage = "継続は 1 から 10 回までです。";
inline constexpr const char* kBadUnitsMessage = "口数は 1 から 10 口までです。";
inline constexpr const char* kBadDateMessage = "購入日は YYYY/MM/DD の形の正しい日付で入れてください。";
inline constexpr const char* kNoComboMessage = "購入記録に追加する組合せがありません。";
inline constexpr const char* kBadMemoMessage = "メモに cp932（シフトJIS）で書けない文字があります。";

}  // namespace kazuban::ledger
