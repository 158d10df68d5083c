#include "text/line_text.h"

#include <cstdint>
#include <cstring>

namespace kazuban::text {

std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if ((at(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

std::string sanitizeUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = utf8SequenceLength(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s, i, n);
            i += n;
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        if (p[i] < 0x80) {
            // Runs of ASCII go eight bytes at a time.
            std::uint64_t w = 0;
            while (i + 8 <= size && (std::memcpy(&w, p + i, 8), (w & 0x8080808080808080ull) == 0)) i += 8;
            while (i < size && p[i] < 0x80) ++i;
            continue;
        }
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

WideText wideTextOf(std::string_view bytes) {
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return WideText::Utf32;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return WideText::Utf16;
    // The start is enough: these files are wide from their first character.
    const std::string_view head = bytes.substr(0, 4096);
    if (head.find('\0') == std::string_view::npos) return WideText::None;
    // NUL bytes at each position of four, and whether the bytes there are all NUL.
    std::size_t zeros[4] = {0, 0, 0, 0}, counts[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < head.size(); ++i) {
        ++counts[i % 4];
        if (head[i] == '\0') ++zeros[i % 4];
    }
    auto allZero = [&](int k) { return counts[k] > 0 && zeros[k] == counts[k]; };
    auto someText = [&](int k) { return zeros[k] < counts[k]; };
    if (head.size() >= 4 && ((allZero(2) && allZero(3) && someText(0)) || (allZero(0) && allZero(1) && someText(3))))
        return WideText::Utf32;
    // UTF-16: one of the two sides of most characters is NUL, the other seldom.
    const std::size_t even = zeros[0] + zeros[2], odd = zeros[1] + zeros[3];
    const std::size_t units = head.size() / 2, more = even > odd ? even : odd, fewer = even > odd ? odd : even;
    if (units > 0 && 2 * more >= units && 8 * fewer < more) return WideText::Utf16;
    return WideText::None;
}

std::string wideTextReason(WideText kind) {
    return std::string(kind == WideText::Utf32 ? "UTF-32" : "UTF-16") +
           " のファイルは読めません。Shift_JIS（cp932）か UTF-8 で保存して下さい。";
}

LineEnds::LineEnds(std::string_view text) : text_(text), cr_(find(0, '\r')), lf_(find(0, '\n')) {}

std::size_t LineEnds::next(std::size_t from) {
    if (cr_ < from) cr_ = find(from, '\r');
    if (lf_ < from) lf_ = find(from, '\n');
    return cr_ < lf_ ? cr_ : lf_;
}

std::size_t LineEnds::find(std::size_t from, char c) const {
    if (from >= text_.size()) return text_.size();
    const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
}

std::vector<std::string> splitLinesCapped(std::string_view text, std::size_t maxBytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const char* t = text.data();
    const std::size_t n = text.size();
    LineEnds ends(text);
    while (start < n) {
        const std::size_t i = ends.next(start);
        std::size_t len = i - start;
        if (len > maxBytes) {
            len = maxBytes;
            while (len > 0 && (static_cast<unsigned char>(t[start + len]) & 0xC0) == 0x80) --len;
        }
        lines.emplace_back(text.substr(start, len));
        if (i >= n) break;
        start = t[i] == '\r' && i + 1 < n && t[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return lines;
}

std::vector<std::string> splitLines(std::string_view text) { return splitLinesCapped(text, std::string_view::npos); }

}  // namespace kazuban::text
