#pragma once
// The number text rules and the character cuts every view relies on.
// Positions and lengths count Unicode characters (UTF-8 code points), never bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace kazuban::text {

// Shortest decimal text of v with up to 15 significant digits; a leading blank
// when v >= 0, "-" when negative; no "0" before the point for -1 < v < 1
// (Str(0.3342) = " .3342", Str(187.5) = " 187.5", Str(12) = " 12", Str(0) = " 0").
std::string Str(double v);
// Str without the leading blank and with "0" before the point (12, 0.5, -0.5).
std::string plainText(double v);
// Number that s spells: leading blanks skipped, reading stops at the first
// character that cannot continue a number; 0 when none.
double Val(std::string_view s);

std::size_t Len(std::string_view s);                       // characters
std::string Left(std::string_view s, long n);              // first n characters
std::string Right(std::string_view s, long n);             // last n characters
std::string Mid(std::string_view s, long start, long n);   // n characters from 1-based start
std::string Mid(std::string_view s, long start);           // from 1-based start to the end
// 1-based character position of `what` in s at or after character `start`; 0 when absent.
// An empty `what` is found at `start` (when start <= Len(s) + 1).
long InStr(long start, std::string_view s, std::string_view what);
inline long InStr(std::string_view s, std::string_view what) { return InStr(1, s, what); }

// Decimal text of an integer, no blank ("123").
std::string intText(long long v);

}  // namespace kazuban::text
