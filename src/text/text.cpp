#include "text/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kazuban::text {

namespace {

// ---------------------------------------------------------------------------
// Number texts

// The number texts are written for every score of every row of the views
// (tens of thousands of rows), so they are built in a small buffer without
// going through the C library's formatted output.

// Appends the decimal digits of a whole number below 10^15.
char* appendWhole(char* out, unsigned long long w) {
    char tmp[20];
    char* t = tmp + sizeof tmp;
    do {
        *--t = static_cast<char>('0' + w % 10);
        w /= 10;
    } while (w != 0);
    while (t != tmp + sizeof tmp) *out++ = *t++;
    return out;
}

// Writes the text of v (finite) into out and returns its end: a sign ("-",
// or the blank of Str when `blank`), then the digits of v rounded to 15
// significant digits, plain decimal unless the magnitude is extreme, then the
// classic exponent form "1.5E+16". `zeroBeforePoint`: "0.5" rather than ".5".
char* formatNumber(char* out, double v, bool blank, bool zeroBeforePoint) {
    const bool negative = std::signbit(v) && v != 0;
    if (negative) *out++ = '-';
    else if (blank) *out++ = ' ';
    const double a = std::fabs(v);
    if (a == 0) {
        *out++ = '0';
        return out;
    }
    // Whole numbers below 10^15 have at most 15 digits: exact as they are.
    if (a < 1e15 && std::floor(a) == a) return appendWhole(out, static_cast<unsigned long long>(a));

    // The exact binary value rounded to 15 significant digits, as "%.14e"
    // writes it: d.dddddddddddddde[+-]XX.
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = buf[0];
    std::memcpy(digits + 1, buf + 2, 14);
    int exp = 0;
    const char* e = buf + 16;  // the 'e'
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exp);
    int n = 15;
    while (n > 1 && digits[n - 1] == '0') --n;

    if (exp >= 15 || exp < -15) {
        *out++ = digits[0];
        if (n > 1) {
            *out++ = '.';
            out = std::copy(digits + 1, digits + n, out);
        }
        *out++ = 'E';
        *out++ = exp < 0 ? '-' : '+';
        const int x = exp < 0 ? -exp : exp;
        if (x < 10) *out++ = '0';
        return appendWhole(out, static_cast<unsigned long long>(x));
    }
    if (exp >= 0) {
        const int whole = exp + 1;
        if (n <= whole) {
            out = std::copy(digits, digits + n, out);
            return std::fill_n(out, whole - n, '0');
        }
        out = std::copy(digits, digits + whole, out);
        *out++ = '.';
        return std::copy(digits + whole, digits + n, out);
    }
    if (zeroBeforePoint) *out++ = '0';
    *out++ = '.';
    out = std::fill_n(out, -exp - 1, '0');
    return std::copy(digits, digits + n, out);
}

std::string nonFinite(double v) {
    if (std::isnan(v)) return "NaN";
    return v < 0 ? "-Infinity" : "Infinity";
}

// ---------------------------------------------------------------------------
// Characters

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// End of the character that starts at byte i. A malformed sequence counts
// one character per byte that cannot belong to the character before it.
std::size_t charEnd(std::string_view s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t more = 0;
    if (c >= 0xC2 && c <= 0xDF) more = 1;
    else if (c >= 0xE0 && c <= 0xEF) more = 2;
    else if (c >= 0xF0 && c <= 0xF4) more = 3;
    std::size_t j = i + 1;
    while (more > 0 && j < s.size() && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) {
        ++j;
        --more;
    }
    return j;
}

// Byte offset of the character with 0-based index `chars` (s.size() when past the end).
std::size_t byteOffset(std::string_view s, std::size_t chars) {
    std::size_t i = 0;
    while (chars > 0 && i < s.size()) {
        i = charEnd(s, i);
        --chars;
    }
    return i;
}

// Number of characters in the first `bytes` bytes.
std::size_t charsBefore(std::string_view s, std::size_t bytes) {
    std::size_t n = 0, i = 0;
    while (i < bytes && i < s.size()) {
        i = charEnd(s, i);
        ++n;
    }
    return n;
}

// Characters [first, first + count) by 0-based character index, clipped.
std::string cut(std::string_view s, std::size_t first, std::size_t count) {
    if (isAscii(s)) {
        if (first >= s.size()) return {};
        return std::string(s.substr(first, count));
    }
    const std::size_t b0 = byteOffset(s, first);
    if (b0 >= s.size()) return {};
    std::size_t b1 = b0;
    while (count > 0 && b1 < s.size()) {
        b1 = charEnd(s, b1);
        --count;
    }
    return std::string(s.substr(b0, b1 - b0));
}

}  // namespace

std::string Str(double v) {
    if (!std::isfinite(v)) return std::string(v < 0 ? "" : " ").append(nonFinite(v));
    char buf[48];
    return std::string(buf, formatNumber(buf, v, true, false));
}

std::string plainText(double v) {
    if (!std::isfinite(v)) return nonFinite(v);
    char buf[48];
    return std::string(buf, formatNumber(buf, v, false, true));
}

double Val(std::string_view s) {
    // Blanks, tabs and line feeds are ignored wherever they stand.
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && isSpace(s[i])) ++i;
    };
    skip();
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
        skip();
    }
    // Mantissa: keep at most kKeep significant digits and count the rest as
    // a power of ten, so that a run of any length reads in bounded space.
    constexpr std::size_t kKeep = 40;
    std::string mant;
    long long scale = 0;  // power of ten applied to the kept digits
    bool anyDigit = false, seenPoint = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isSpace(c)) continue;
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (mant.empty() && c == '0') {
                if (seenPoint) --scale;
                continue;
            }
            if (mant.size() < kKeep) {
                mant.push_back(c);
                if (seenPoint) --scale;
            } else if (!seenPoint) {
                ++scale;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        while (j < s.size() && isSpace(s[j])) ++j;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        for (; j < s.size(); ++j) {
            const char c = s[j];
            if (isSpace(c)) continue;
            if (c < '0' || c > '9') break;
            if (exponent < 100000) exponent = exponent * 10 + (c - '0');
        }
        if (expNegative) exponent = -exponent;
    }
    if (mant.empty()) return negative ? -0.0 : 0.0;
    long long total = scale + exponent;
    if (total > 100000) total = 100000;
    if (total < -100000) total = -100000;
    const std::string text = mant + "e" + std::to_string(total);
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large reads as infinity, too small as zero.
        value = (total > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::size_t Len(std::string_view s) {
    if (isAscii(s)) return s.size();
    return charsBefore(s, s.size());
}

std::string Left(std::string_view s, long n) {
    if (n <= 0) return {};
    return cut(s, 0, static_cast<std::size_t>(n));
}

std::string Right(std::string_view s, long n) {
    if (n <= 0) return {};
    const std::size_t len = Len(s);
    const std::size_t count = static_cast<std::size_t>(n);
    if (count >= len) return std::string(s);
    return cut(s, len - count, count);
}

std::string Mid(std::string_view s, long start, long n) {
    if (n <= 0) return {};
    // Positions before 1 hold no characters: the window is clipped.
    if (start < 1) {
        if (start + n <= 1) return {};  // no overflow: start < 1 and n > 0
        n = start + n - 1;
        start = 1;
    }
    return cut(s, static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

std::string Mid(std::string_view s, long start) {
    if (start < 1) start = 1;
    return cut(s, static_cast<std::size_t>(start - 1), std::string::npos);
}

long InStr(long start, std::string_view s, std::string_view what) {
    if (start < 1) start = 1;
    const bool ascii = isAscii(s);
    const std::size_t len = ascii ? s.size() : Len(s);
    if (static_cast<std::size_t>(start) > len + 1) return 0;
    if (what.empty()) return start;
    const std::size_t from = ascii ? static_cast<std::size_t>(start - 1)
                                   : byteOffset(s, static_cast<std::size_t>(start - 1));
    std::size_t at = s.find(what, from);
    if (ascii) return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
    // A match that starts inside a malformed character is skipped.
    std::size_t pos = from;
    long index = start - 1;
    while (at != std::string_view::npos) {
        while (pos < at) {
            pos = charEnd(s, pos);
            ++index;
        }
        if (pos == at) return index + 1;
        at = s.find(what, at + 1);
    }
    return 0;
}

std::string intText(long long v) { return std::to_string(v); }

std::vector<std::string> Split(std::string_view s, char separator) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t at = s.find(separator, start);
        fields.emplace_back(s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return fields;
        start = at + 1;
    }
}

}  // namespace kazuban::text
