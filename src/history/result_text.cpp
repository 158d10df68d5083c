#include "history/result_text.h"

#include "platform/line_file.h"
#include "text/line_text.h"

namespace kazuban::history {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int daysIn(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A run of 1..maxDigits digits at s[i]; its value, or -1.
int digitsAt(std::string_view s, std::size_t& i, std::size_t minDigits, std::size_t maxDigits) {
    const std::size_t start = i;
    int v = 0;
    while (i < s.size() && isDigit(s[i]) && i - start < maxDigits) v = v * 10 + (s[i++] - '0');
    const std::size_t n = i - start;
    if (n < minDigits || (i < s.size() && isDigit(s[i]))) return -1;
    return v;
}

}  // namespace

std::string problemText(const ImportProblem& p) {
    return p.file + " の " + std::to_string(p.line) + " 行目： " + p.reason;
}

std::vector<std::string> resultFileLines(std::string_view bytes, const std::string& name) {
    if (const text::WideText wide = text::wideTextOf(bytes); wide != text::WideText::None)
        throw ImportRefused({name, 1, text::wideTextReason(wide)});
    std::string text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        text = text::sanitizeUtf8(bytes.substr(3));
        if (text::isValidUtf8(bytes.substr(3))) return text::splitLines(text);
    } else if (text::isValidUtf8(bytes)) {
        return text::splitLines(bytes);
    } else {
        text = platform::decodeCp932(bytes);
    }
    std::vector<std::string> lines = text::splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(kReplacement) != std::string::npos)
            throw ImportRefused(
                {name, static_cast<int>(i) + 1, "文字コードが UTF-8 でもシフトJIS(cp932)でもありません。"});
    }
    return lines;
}

std::vector<std::string> csvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] != '"') {
                    field += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            // Anything between the closing quote and the comma belongs to the field.
            while (i < line.size() && line[i] != ',') field += line[i++];
        } else {
            while (i < line.size() && line[i] != ',') field += line[i++];
        }
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
        fields.push_back(std::move(field));
        if (i >= line.size()) return fields;
        ++i;  // the comma
    }
}

std::string asciiDigits(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        // U+FF10..U+FF19: EF BC 90..99
        if (i + 2 < s.size() && s[i] == '\xEF' && s[i + 1] == '\xBC' && static_cast<unsigned char>(s[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(s[i + 2]) <= 0x99) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(s[i + 2]) - 0x90));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::optional<std::int64_t> parseDate(std::string_view s) {
    std::size_t i = 0;
    const int year = digitsAt(s, i, 4, 4);
    if (year < 1 || i >= s.size() || (s[i] != '/' && s[i] != '-')) return std::nullopt;
    const char sep = s[i++];
    // "YYYY/M/D" may leave out leading zeros; "YYYY-MM-DD" never does.
    const std::size_t least = sep == '-' ? 2 : 1;
    const int month = digitsAt(s, i, least, 2);
    if (month < 1 || month > 12 || i >= s.size() || s[i++] != sep) return std::nullopt;
    const int day = digitsAt(s, i, least, 2);
    if (day < 1 || day > daysIn(year, month) || i != s.size()) return std::nullopt;
    return static_cast<std::int64_t>(year) * 10000 + month * 100 + day;
}

std::optional<std::int64_t> parseDigits(std::string_view s) {
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (char c : s) {
        if (!isDigit(c)) return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > kMaxAmount) return std::nullopt;
    }
    return v;
}

}  // namespace kazuban::history
