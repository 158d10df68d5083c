#include "analysis/draws.h"

#include <string_view>

namespace kazuban::analysis {

namespace {

// Field positions (1-based characters) of the six numbers of an entry.
constexpr int kFieldStart[6] = {1, 4, 7, 10, 13, 16};

// The code point at 1-based character position `pos`, or 0 past the end.
// Only ASCII matters here: any other character is returned as 0xFFFD.
std::uint32_t charAt(std::string_view s, int pos) {
    int n = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 1;
        if (b >= 0xF0) len = 4;
        else if (b >= 0xE0) len = 3;
        else if (b >= 0xC0) len = 2;
        if (++n == pos) return b < 0x80 ? b : 0xFFFDu;
        i += len;
    }
    return 0;
}

}  // namespace

bool isStrictDraw(const history::DrawHistory& history, int n) {
    // The loader already checked the values 1..31 and that all six differ;
    // what it lets through besides is a field written with a leading zero.
    if (!history.isValidDraw(n)) return false;
    const std::string& e = history.entry(n);
    for (int start : kFieldStart)
        if (charAt(e, start) == '0') return false;
    return true;
}

std::uint32_t mainMask(const history::DrawHistory& history, int n) {
    if (!isStrictDraw(history, n)) return 0;
    std::uint32_t m = 0;
    const auto& v = history.numbers[static_cast<std::size_t>(n)];
    for (int k = 0; k < 5; ++k) m |= 1u << v[static_cast<std::size_t>(k)];
    return m;
}

}  // namespace kazuban::analysis
