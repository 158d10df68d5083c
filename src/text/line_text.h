#pragma once
// The text rules of line files, without the files: UTF-8 checks and the
// split into lines at CR LF, LF or a lone CR. Reading and writing the files
// themselves is platform/line_file.h.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::text {

bool isValidUtf8(std::string_view bytes);
// Length of the valid UTF-8 sequence at s[i], or 0 when it is malformed
// (overlong forms, surrogates and values above U+10FFFF are malformed).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i);
// Valid UTF-8 with every malformed byte replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view s);

// UTF-16 and UTF-32, which the program neither reads nor writes: told by a
// byte-order mark, or without one by NUL bytes in every other position of
// the text's start (ASCII in UTF-16), or in two of every four (UTF-32).
// cp932 and UTF-8 texts hold no NUL bytes; a stray one is no wide text.
enum class WideText { None, Utf16, Utf32 };
WideText wideTextOf(std::string_view bytes);
// Why a file in such an encoding is refused: "UTF-16 のファイルは読めません。…".
std::string wideTextReason(WideText kind);

// Splits at CR LF, LF or lone CR. A final line end does not start another line
// ("a\r\nb\r\n" and "a\r\nb" are both two lines; "" is no line).
std::vector<std::string> splitLines(std::string_view text);
// Splits as splitLines does; a line longer than maxBytes keeps its first
// maxBytes bytes, cut at a character boundary (the text is UTF-8).
std::vector<std::string> splitLinesCapped(std::string_view text, std::size_t maxBytes);

// A line longer than kMaxLineBytes (UTF-8) keeps only its first part when a
// line file is read: no line of the program's files means anything at that
// length, and a cell that long would stall every view that shows it.
inline constexpr std::size_t kMaxLineBytes = 65536;

// The line ends (CR or LF) of a text in order, found with memchr; each kind's
// next position is remembered until it is passed, so a text of only LF (or
// only CR) line ends is still searched once.
class LineEnds {
public:
    explicit LineEnds(std::string_view text);
    // The first line end at or after `from`; text.size() when there is none.
    std::size_t next(std::size_t from);

private:
    std::size_t find(std::size_t from, char c) const;
    std::string_view text_;
    std::size_t cr_, lf_;
};

}  // namespace kazuban::text
