#include "history/add_draw.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "history/draw_history.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "text/text.h"

namespace kazuban::history {

namespace {

constexpr const char* kHistoryName = "atarimgrp.txt";
constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // what decodeCp932 makes of a byte it cannot read
constexpr const char* kEnterAll = "本数字5個とボーナス数字を入力して下さい";
constexpr const char* kSixNumbers =
    "本数字5個とボーナス数字1個の、合わせて6個の数字を「,」で区切って指定して下さい（例: 2,9,13,22,30,17）";

// A run of digits in a text: ASCII or full-width, never both.
struct DigitRun {
    std::size_t begin = 0, end = 0;  // bytes
    int length = 0;                  // digits
    bool fullWidth = false;
    long long value = 0;  // capped, so a long run cannot overflow
};

// The digit at s[i] (0-9) and its length in bytes, or -1.
int digitAt(std::string_view s, std::size_t i, std::size_t* bytes, bool* fullWidth) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= '0' && c <= '9') {
        *bytes = 1;
        *fullWidth = false;
        return c - '0';
    }
    // U+FF10..U+FF19: EF BC 90..99
    if (c == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBC) {
        const auto d = static_cast<unsigned char>(s[i + 2]);
        if (d >= 0x90 && d <= 0x99) {
            *bytes = 3;
            *fullWidth = true;
            return d - 0x90;
        }
    }
    return -1;
}

std::vector<DigitRun> digitRuns(std::string_view s) {
    std::vector<DigitRun> runs;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t bytes = 0;
        bool fullWidth = false;
        int d = digitAt(s, i, &bytes, &fullWidth);
        if (d < 0) {
            ++i;
            continue;
        }
        DigitRun run;
        run.begin = i;
        run.fullWidth = fullWidth;
        while (d >= 0) {
            run.value = std::min<long long>(run.value * 10 + d, 1'000'000'000);
            ++run.length;
            i += bytes;
            if (i >= s.size()) break;
            bool kind = false;
            d = digitAt(s, i, &bytes, &kind);
            if (d >= 0 && kind != run.fullWidth) break;
        }
        run.end = i;
        runs.push_back(run);
    }
    return runs;
}

bool isBlank(std::string_view s, std::size_t i, std::size_t* bytes) {
    if (s[i] == ' ' || s[i] == '\t') {
        *bytes = 1;
        return true;
    }
    if (s.substr(i, 3) == "\xE3\x80\x80") {  // ideographic space
        *bytes = 3;
        return true;
    }
    return false;
}

std::string_view trimBlanks(std::string_view s) {
    std::size_t n = 0;
    while (!s.empty() && isBlank(s, 0, &n)) s.remove_prefix(n);
    for (;;) {
        if (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
            s.remove_suffix(1);
        } else if (s.size() >= 3 && s.substr(s.size() - 3) == "\xE3\x80\x80") {
            s.remove_suffix(3);
        } else {
            return s;
        }
    }
}

// The number a field spells: its value, or -1 when it is not a number.
long long fieldNumber(std::string_view field) {
    const auto runs = digitRuns(field);
    if (runs.size() != 1 || runs[0].begin != 0 || runs[0].end != field.size()) return -1;
    return runs[0].value;
}

// One line of the file's bytes: its text [begin, end) and where the next line starts.
struct ByteLine {
    std::size_t begin, end, next;
    bool hasEnd() const { return next > end; }
};

std::vector<ByteLine> byteLines(std::string_view bytes) {
    // CR and LF are never part of a cp932 or UTF-8 character.
    std::vector<ByteLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t e = bytes.find_first_of("\r\n", start);
        if (e == std::string_view::npos) {
            lines.push_back({start, bytes.size(), bytes.size()});
            break;
        }
        const std::size_t next = bytes[e] == '\r' && e + 1 < bytes.size() && bytes[e + 1] == '\n' ? e + 2 : e + 1;
        lines.push_back({start, e, next});
        start = next;
    }
    return lines;
}

bool isBlankLine(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool allAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

DrawCheck checkDrawFields(const std::vector<std::string>& fields) {
    DrawCheck result;
    if (fields.size() != 6) {
        result.problem = kSixNumbers;
        return result;
    }
    DrawNumbers numbers{};
    bool missing = false;
    for (std::size_t k = 0; k < 6; ++k) {
        const std::string_view field = trimBlanks(fields[k]);
        if (field.empty()) {
            missing = true;
            continue;
        }
        const long long v = fieldNumber(field);
        if (v < 0) {
            result.problem = "「" + std::string(field) + "」は数字ではありません";
            return result;
        }
        if (v < 1 || v > 31) {
            result.problem = "数字は1～31で入力して下さい（「" + std::string(field) + "」）";
            return result;
        }
        numbers[k] = static_cast<int>(v);
    }
    if (missing) {
        result.problem = kEnterAll;
        result.incomplete = true;
        return result;
    }
    std::set<int> seen;
    for (int v : numbers) {
        if (!seen.insert(v).second) {
            result.problem = "数字「" + std::to_string(v) + "」が重複しています";
            return result;
        }
    }
    result.numbers = numbers;
    return result;
}

DrawCheck parseDrawArgument(const std::string& text) {
    DrawCheck check = checkDrawFields(text::Split(text, ','));
    // An empty field in an argument is a count that does not add up.
    if (check.incomplete) {
        check.problem = kSixNumbers;
        check.incomplete = false;
    }
    return check;
}

std::string drawFieldText(const DrawNumbers& numbers) {
    std::array<int, 5> main{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
    std::sort(main.begin(), main.end());
    // Two characters a number: a blank before 1-9.
    std::string out;
    auto field = [&out](int v) {
        if (v < 10) out += ' ';
        out += std::to_string(v);
    };
    for (int v : main) {
        field(v);
        out += ',';
    }
    field(numbers[5]);
    return out;
}

std::string nextDrawLabel(const std::string& lastLabel, int lastNumber) {
    const int next = lastNumber + 1;
    const auto runs = digitRuns(lastLabel);
    if (runs.size() != 1 || runs[0].value != lastNumber) return "第" + std::to_string(next) + "回";
    const DigitRun& run = runs[0];
    std::string digits = std::to_string(next);
    if (static_cast<int>(digits.size()) < run.length)
        digits.insert(0, static_cast<std::size_t>(run.length) - digits.size(), '0');
    std::string number;
    for (char c : digits) {
        if (run.fullWidth) number += std::string("\xEF\xBC") + static_cast<char>(0x90 + (c - '0'));
        else number += c;
    }
    return lastLabel.substr(0, run.begin) + number + lastLabel.substr(run.end);
}

std::string historyChangedText(int maxn) {
    return std::string(kHistoryName) + " が変更されています（第" + std::to_string(maxn) +
           "回までになっています）。もう一度入力して下さい。";
}

AppendedDraws appendDrawsToBytes(const std::string& bytes, const std::vector<DrawNumbers>& draws,
                                 int expectedDrawNumber) {
    // A draw is appended only in the encoding the file was read in: a line
    // of cp932 in a UTF-16 file (or any other) would leave it mixed.
    if (const text::WideText wide = text::wideTextOf(bytes); wide != text::WideText::None)
        throw AppError(kInvalidCall, std::string(kHistoryName) + " を読み込めません。" + text::wideTextReason(wide));
    const std::vector<ByteLine> lines = byteLines(bytes);
    if (lines.empty())
        throw AppError(kInvalidCall, std::string(kHistoryName) + " に行がありません。1 行目に見出しを書いて下さい。");
    // The loader's count: blank lines after the last draw are not draws.
    std::size_t count = lines.size();
    auto text = [&](const ByteLine& l) { return std::string_view(bytes).substr(l.begin, l.end - l.begin); };
    while (count > 1 && isBlankLine(text(lines[count - 1]))) --count;
    const int maxn = static_cast<int>(count) - 1;
    if (static_cast<long long>(maxn) + static_cast<long long>(draws.size()) > kMaxDraws)
        throw AppError(kSubscript, std::string(kHistoryName) + " には第" + std::to_string(kMaxDraws) +
                                       "回までしか登録できません。");
    if (expectedDrawNumber > 0 && maxn + 1 != expectedDrawNumber)
        throw AppError(kPathFileAccess, historyChangedText(maxn));

    const bool utf8 = bytes.starts_with("\xEF\xBB\xBF") || (!allAscii(bytes) && text::isValidUtf8(bytes));
    if (!utf8 && !allAscii(bytes) && platform::decodeCp932(bytes).find(kReplacementCharacter) != std::string::npos)
        throw AppError(kInvalidCall, std::string(kHistoryName) +
                                         " の文字コードが UTF-8 でもシフトJIS(cp932)でもないため、追加できません。");
    const ByteLine& last = lines[count - 1];

    // The file's own line end: the last draw line's, or the one before it.
    std::string eol = "\r\n";
    for (std::size_t k = count; k-- > 0;) {
        if (lines[k].hasEnd()) {
            eol = bytes.substr(lines[k].end, lines[k].next - lines[k].end);
            break;
        }
    }
    AppendedDraws result;
    result.bytes = bytes.substr(0, last.next);
    if (!last.hasEnd()) result.bytes += eol;

    // The label of the last draw line; the header line has none to follow.
    std::string label;
    if (maxn >= 1) {
        const std::string lastLine = utf8 ? std::string(text(last)) : platform::decodeCp932(text(last));
        const std::size_t eq = lastLine.find('=');
        label = eq == std::string::npos ? std::string() : lastLine.substr(0, eq);
    }
    int number = maxn;
    for (const DrawNumbers& numbers : draws) {
        label = number == 0 ? "第1回" : nextDrawLabel(label, number);
        ++number;
        AppendedDraw a{number, label + "=" + drawFieldText(numbers)};
        std::string encoded;
        if (utf8) {
            encoded = a.line;
        } else {
            try {
                encoded = platform::encodeCp932(a.line);
            } catch (const AppError&) {
                // A label that cp932 cannot take back (an undefined byte in it).
                label = "第" + std::to_string(number) + "回";
                a.line = label + "=" + drawFieldText(numbers);
                encoded = platform::encodeCp932(a.line);
            }
        }
        result.bytes += encoded;
        result.bytes += eol;
        result.draws.push_back(std::move(a));
    }
    result.bytes.append(bytes, last.next, std::string::npos);
    return result;
}

AppendedDraw appendDraw(const std::filesystem::path& file, const DrawNumbers& numbers, int expectedDrawNumber) {
    std::vector<std::string> fields;
    for (int v : numbers) fields.push_back(std::to_string(v));
    const DrawCheck check = checkDrawFields(fields);
    if (!check.numbers) throw AppError(kInvalidCall, check.problem);

    AppendedDraws appended = appendDrawsToBytes(platform::readFileBytes(file), {*check.numbers}, expectedDrawNumber);
    platform::writeFileAtomic(file, appended.bytes);
    return appended.draws.front();
}

}  // namespace kazuban::history
