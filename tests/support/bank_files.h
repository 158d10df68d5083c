#pragma once
// Results files in the bank's per-draw form and its index, as the bank
// publishes them (UTF-8 texts here; the bank's files are cp932).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kazuban::testing {

struct BankDraw {
    int draw = 0;
    std::array<int, 6> numbers{};  // five main numbers in any order, then the bonus
    int year = 2024, month = 6, day = 11;
    std::array<std::int64_t, 4> winners{0, 5, 150, 4000}, prizes{0, 150'000, 10'000, 1'000};  // 0 winners: 該当なし
};

// One block: the code line, the draw line with its 令和 date, the numbers,
// the four grades and the lines the reader skips.
std::string bankBlock(const BankDraw& d);
// The index: "第N回ミニロト\tA101NNNN.CSV" for each draw.
std::string bankIndex(const std::vector<int>& draws);

}  // namespace kazuban::testing
