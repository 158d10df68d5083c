#pragma once
// The number text rules and the character cuts every view relies on.
// Positions and lengths count Unicode characters (UTF-8 code points), never bytes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::text {

// Shortest decimal text of v with up to 15 significant digits; a leading blank
// when v >= 0, "-" when negative; no "0" before the point for -1 < v < 1
// (Str(0.3342) = " .3342", Str(187.5) = " 187.5", Str(12) = " 12", Str(0) = " 0").
// The exact binary value is rounded to 15 digits. Plain decimal form for
// 1E-15 <= |v| < 1E+15 (Str(0.00005) = " .00005"), the exponent form beyond
// (" 1E+15", "-1.5E-20"); infinities and NaN give " Infinity", "-Infinity", " NaN".
std::string Str(double v);
// Str without the leading blank and with "0" before the point (12, 0.5, -0.5).
std::string plainText(double v);
// Number that s spells: leading blanks skipped, reading stops at the first
// character that cannot continue a number; 0 when none. Blanks, tabs and
// line feeds are ignored anywhere (Val(" 1 2") = 12); an exponent may follow
// (E or D); "&H" and "&O" forms read as 0; a value beyond the double range
// gives +-infinity, one below it 0. Any input, of any length, is safe.
double Val(std::string_view s);

std::size_t Len(std::string_view s);                      // characters
std::string Left(std::string_view s, long n);             // first n characters
std::string Right(std::string_view s, long n);            // last n characters
std::string Mid(std::string_view s, long start, long n);  // n characters from 1-based start
std::string Mid(std::string_view s, long start);          // from 1-based start to the end
// 1-based character position of `what` in s at or after character `start`; 0 when absent.
// An empty `what` is found at `start` (when start <= Len(s) + 1).
long InStr(long start, std::string_view s, std::string_view what);
inline long InStr(std::string_view s, std::string_view what) { return InStr(1, s, what); }

// Decimal text of an integer, no blank ("123").
std::string intText(long long v);

// The fields of s between the separators: always one more than there are
// separators, empty ones kept (Split("a,,b", ',') = {"a", "", "b"}; "" gives {""}).
std::vector<std::string> Split(std::string_view s, char separator);

}  // namespace kazuban::text
