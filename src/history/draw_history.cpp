#include "history/draw_history.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/line_file.h"
#include "text/app_error.h"

namespace kazuban::history {

namespace {

const std::string kEmpty;

// Field positions (1-based characters) of the six numbers of an entry.
constexpr int kFieldStart[6] = {1, 4, 7, 10, 13, 16};
constexpr int kEntryLength = 17;

const char* const kTooShort = "行が短すぎます";
const char* const kBadField = "数字が1～31の2文字ではありません";
const char* const kDuplicateMain = "本数字が重複しています";
const char* const kDuplicateBonus = "ボーナス数字が本数字と重複しています";

bool isBlankLine(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The first `count` characters of s as code points (fewer when s is shorter).
// Only ASCII digits and blanks matter to the caller, so a malformed sequence
// just yields a non-ASCII placeholder.
int firstCodePoints(std::string_view s, std::uint32_t* out, int count) {
    int n = 0;
    std::size_t i = 0;
    while (n < count && i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 1;
        if (b >= 0xF0) len = 4;
        else if (b >= 0xE0) len = 3;
        else if (b >= 0xC0) len = 2;
        out[n++] = b < 0x80 ? b : 0xFFFDu;
        i += len;
    }
    return n;
}

bool isDigit(std::uint32_t c) { return c >= '0' && c <= '9'; }

// A field is two digits or a blank and a digit; 0 when it is neither.
int fieldValue(std::uint32_t a, std::uint32_t b) {
    if (!isDigit(b)) return 0;
    if (a == ' ') return static_cast<int>(b - '0');
    if (!isDigit(a)) return 0;
    return static_cast<int>((a - '0') * 10 + (b - '0'));
}

// Checks one draw entry; fills `numbers` and returns nullptr when it is a
// valid draw, else the description of what is wrong.
const char* checkDraw(std::string_view entry, std::array<std::uint8_t, 6>& numbers) {
    std::uint32_t cp[kEntryLength];
    if (firstCodePoints(entry, cp, kEntryLength) < kEntryLength) return kTooShort;
    std::array<std::uint8_t, 6> v{};
    for (int k = 0; k < 6; ++k) {
        const int p = kFieldStart[k] - 1;
        const int value = fieldValue(cp[p], cp[p + 1]);
        if (value < 1 || value > 31) return kBadField;
        v[k] = static_cast<std::uint8_t>(value);
    }
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            if (v[a] == v[b]) return kDuplicateMain;
    for (int a = 0; a < 5; ++a)
        if (v[a] == v[5]) return kDuplicateBonus;
    numbers = v;
    return nullptr;
}

[[noreturn]] void throwTooManyDraws() {
    throw AppError(kSubscript,
                   "atarimgrp.txt の当選番号が多すぎます。扱えるのは第" + std::to_string(kMaxDraws) + "回までです。");
}

}  // namespace

const std::string& DrawHistory::entry(int n) const {
    if (n < 0 || n >= static_cast<int>(entries.size())) return kEmpty;
    return entries[static_cast<std::size_t>(n)];
}

LoadResult historyFromLines(const std::vector<std::string>& lines) {
    // Blank lines after the last draw (an editor's trailing newlines) are not
    // draws; the header line always counts.
    std::size_t count = lines.size();
    while (count > 1 && isBlankLine(lines[count - 1])) --count;
    if (count == 0) throw AppError(kSubscript, "atarimgrp.txt に行がありません。当選番号を記入して下さい。");
    if (count - 1 > static_cast<std::size_t>(kMaxDraws)) throwTooManyDraws();

    LoadResult result;
    DrawHistory& h = result.history;
    h.entries.resize(count);
    h.valid.assign(count, false);
    h.numbers.assign(count, std::array<std::uint8_t, 6>{});
    for (std::size_t n = 0; n < count; ++n) {
        const std::string& line = lines[n];
        const auto p = line.find('=');  // ASCII: the byte position is the character position
        h.entries[n] = p == std::string::npos ? line : line.substr(p + 1);
        if (n == 0) continue;  // the header line is never a draw
        const char* what = checkDraw(h.entries[n], h.numbers[n]);
        if (what) result.problems.push_back({static_cast<int>(n) + 1, what});
        else h.valid[n] = true;
    }
    return result;
}

LoadResult readWinningNumbers(const std::filesystem::path& file) {
    // The header line and at most kMaxDraws draws are read; a file with more
    // than blank lines after them is refused without reading the rest.
    platform::FirstLines first = platform::readFirstLines(file, static_cast<std::size_t>(kMaxDraws) + 1);
    if (!first.restIsBlank) throwTooManyDraws();
    return historyFromLines(first.lines);
}

std::string problemsMessage(const std::vector<LineProblem>& problems) {
    if (problems.empty()) return {};
    std::string m =
        "atarimgrp.txt に正しくない当選番号の行があります。\n"
        "これらの行は集計にも当選確認にも使いません。\n";
    const std::size_t shown = std::min<std::size_t>(problems.size(), 5);
    for (std::size_t i = 0; i < shown; ++i)
        m.append("\n").append(std::to_string(problems[i].lineNumber)).append(" 行目： ").append(problems[i].what);
    if (problems.size() > shown) m += "\nほか " + std::to_string(problems.size() - shown) + " 行";
    return m;
}

}  // namespace kazuban::history
