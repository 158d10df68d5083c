#include "support/bank_files.h"

#include <algorithm>
#include <cstdio>

namespace kazuban::testing {

namespace {

std::string fullWidthDigit(int g) { return std::string("\xEF\xBC") + static_cast<char>(0x90 + g); }

std::string two(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

}  // namespace

std::string bankBlock(const BankDraw& d) {
    std::array<int, 6> n = d.numbers;
    std::sort(n.begin(), n.begin() + 5);
    const int era = d.year - 2018;
    const std::string date = "令和" + (era == 1 ? std::string("元") : std::to_string(era)) + "年" +
                             std::to_string(d.month) + "月" + std::to_string(d.day) + "日";
    std::string s = "A52\r\n第" + std::to_string(d.draw) + "回ミニロト,数字選択式全国自治宝くじ," + date +
                    ",東京 宝くじドリーム館\r\n支払期間," + date + "から1年間\r\n本数字";
    for (int k = 0; k < 5; ++k) s += "," + two(n[k]);
    s += ",ボーナス数字," + two(n[5]) + "\r\n";
    for (int g = 0; g < 4; ++g) {
        const auto k = static_cast<std::size_t>(g);
        s += fullWidthDigit(g + 1) + "等,";
        s += d.winners[k] == 0 ? std::string("該当なし,該当なし")
                               : std::to_string(d.winners[k]) + "口," + std::to_string(d.prizes[k]) + "円";
        s += "\r\n";
    }
    s += "販売実績額,\"123,456,800円\"\r\n" + fullWidthDigit(1) + "等,申込数字が本数字5個と全て一致\r\n";
    return s;
}

std::string bankIndex(const std::vector<int>& draws) {
    std::string s;
    for (int n : draws) {
        char file[32];
        std::snprintf(file, sizeof file, "A101%04d.CSV", n);
        s += "第" + std::to_string(n) + "回ミニロト\t" + file + "\r\n";
    }
    return s;
}

}  // namespace kazuban::testing
