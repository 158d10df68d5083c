#include "design/stored.h"

#include <algorithm>
#include <bit>

#include "design/proof.h"

namespace kazuban::design {

namespace {

std::int64_t binomial(int n, int k) {
    std::int64_t r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// " 1, 5, 9,12,30": five numbers, or nothing.
std::optional<std::uint32_t> ticketOf(std::string_view line, int m) {
    std::uint32_t t = 0;
    int count = 0, value = -1;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : ',';
        if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value * 10) + (c - '0');
            if (value > 31) return std::nullopt;
        } else if (c == ',') {
            if (value < 1 || value > m || ((t >> value) & 1) != 0) return std::nullopt;
            t |= std::uint32_t{1} << value;
            ++count;
            value = -1;
        } else if (c != ' ' && c != '\r') {
            return std::nullopt;
        }
    }
    if (count != 5) return std::nullopt;
    return t;
}

}  // namespace

std::optional<std::vector<std::uint32_t>> provedWheel(int m, int p, std::string_view text) {
    if (m < 5 || m > 31 || p < 3 || p > 5) return std::nullopt;
    std::vector<std::uint32_t> tickets;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line == "\r") continue;
        const auto t = ticketOf(line, m);
        if (!t) return std::nullopt;
        tickets.push_back(*t);
    }
    std::vector<std::uint32_t> sorted = tickets;
    std::sort(sorted.begin(), sorted.end());
    if (tickets.empty() || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return std::nullopt;
    const auto ground = static_cast<std::uint32_t>(((std::uint64_t{1} << m) - 1) << 1);
    if (countCovered(ground, p, tickets) != binomial(m, p)) return std::nullopt;
    return tickets;
}

std::optional<std::vector<std::uint32_t>> storedWheel(int m, int p) {
    for (const StoredText& s : storedTexts())
        if (s.m == m && s.p == p) return provedWheel(m, p, s.text);
    return std::nullopt;
}

}  // namespace kazuban::design
