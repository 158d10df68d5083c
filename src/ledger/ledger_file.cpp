#include "ledger/ledger_file.h"

#include <algorithm>
#include <cstdio>

#include "history/result_text.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "text/line_text.h"
#include "text/path_text.h"

namespace kazuban::ledger {

namespace {

constexpr std::size_t kFields = 10;
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD, what an undecodable byte becomes

// A record of the file: its fields and the line it starts on.
struct Record {
    int line = 0;
    std::vector<std::string> fields;
    std::string problem;  // a quote that does not close
};

// Splits the decoded text into records: fields separated by commas, a field
// in double quotes may hold commas, line breaks and "" for a quote. Lines end
// at CR LF, LF or a lone CR.
std::vector<Record> records(std::string_view text) {
    std::vector<Record> out;
    std::size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        Record r;
        r.line = line;
        std::string field;
        bool inQuotes = false, wasQuoted = false, ended = false;
        while (i < text.size() && !ended) {
            const char c = text[i];
            if (inQuotes) {
                if (c == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                    } else {
                        inQuotes = false;
                        ++i;
                    }
                    continue;
                }
                if (c == '\r' || c == '\n') ++line;
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                    field += "\r\n";
                    i += 2;
                    continue;
                }
                field += c;
                ++i;
                continue;
            }
            if (c == '"' && field.empty() && !wasQuoted) {
                inQuotes = wasQuoted = true;
                ++i;
            } else if (c == ',') {
                r.fields.push_back(std::move(field));
                field.clear();
                wasQuoted = false;
                ++i;
            } else if (c == '\r' || c == '\n') {
                i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
                ++line;
                ended = true;
            } else {
                if (wasQuoted && r.problem.empty()) r.problem = "引用符（\"）の後に文字があります。";
                field += c;
                ++i;
            }
        }
        if (inQuotes) r.problem = "引用符（\"）が閉じていません。";
        r.fields.push_back(std::move(field));
        out.push_back(std::move(r));
    }
    return out;
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.size() <= 6 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> integerIn(std::string_view s, int lo, int hi) {
    if (!allDigits(s)) return std::nullopt;
    const int v = std::stoi(std::string(s));
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

bool isBlankRecord(const Record& r) {
    return r.problem.empty() && r.fields.size() == 1 && r.fields[0].find_first_not_of(" \t") == std::string::npos;
}

// The row of a record, or why it is none.
std::string readRow(const Record& r, Row& row) {
    if (!r.problem.empty()) return r.problem;
    if (r.fields.size() != kFields)
        return "列の数が " + std::to_string(r.fields.size()) + " です（" + std::to_string(kFields) +
               " 列のはずです）。";
    const auto draw = integerIn(r.fields[0], 1, kMaxDraw);
    if (!draw) return "回「" + r.fields[0] + "」が 1～32767 の整数ではありません。";
    row.draw = *draw;
    for (int k = 0; k < 5; ++k) {
        const auto v = integerIn(r.fields[static_cast<std::size_t>(k + 1)], 1, 31);
        if (!v)
            return "数字" + std::to_string(k + 1) + "「" + r.fields[static_cast<std::size_t>(k + 1)] +
                   "」が 1～31 の整数ではありません。";
        for (int j = 0; j < k; ++j)
            if (row.numbers[static_cast<std::size_t>(j)] == *v)
                return "同じ数字 " + std::to_string(*v) + " が２回あります。";
        row.numbers[static_cast<std::size_t>(k)] = *v;
    }
    const auto units = integerIn(r.fields[6], 1, kMaxUnits);
    if (!units) return "口数「" + r.fields[6] + "」が 1～10 の整数ではありません。";
    row.units = *units;
    for (int k = 0; k < 2; ++k) {
        const std::string& f = r.fields[static_cast<std::size_t>(7 + k)];
        int& day = k == 0 ? row.bought : row.received;
        day = 0;
        if (f.empty()) continue;
        const auto d = parseDay(f);
        if (!d)
            return std::string(k == 0 ? "購入日" : "受取日") + "「" + f +
                   "」が YYYY/MM/DD の正しい日付ではありません。";
        day = *d;
    }
    row.memo = r.fields[9];
    try {
        checkMemo(row.memo);
    } catch (const AppError&) {
        return "メモに cp932（シフトJIS）で書けない文字があります。";
    }
    return {};
}

bool needsQuotes(const std::string& memo) {
    if (memo.empty()) return false;
    if (memo.find_first_of(",\"\r\n") != std::string::npos) return true;
    const auto blankAt = [&](std::size_t i) { return memo[i] == ' ' || memo[i] == '\t'; };
    constexpr std::string_view ideographicSpace = "\xE3\x80\x80";
    return blankAt(0) || blankAt(memo.size() - 1) || memo.starts_with(ideographicSpace) ||
           memo.ends_with(ideographicSpace);
}

std::string fileBytesOrEmpty(const std::filesystem::path& path, bool* exists) {
    *exists = platform::isFile(path);
    return *exists ? platform::readFileBytes(path) : std::string();
}

}  // namespace

Parsed parseLedger(std::string_view bytes) {
    Parsed p;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        p.problems.push_back({1, "UTF-16 のファイルは読めません。cp932（シフトJIS）か UTF-8 で保存してください。"});
        return p;
    }
    const bool utf8 = bytes.starts_with("\xEF\xBB\xBF") || text::isValidUtf8(bytes);
    const std::string decoded = utf8 ? platform::decodeFileBytes(bytes) : platform::decodeCp932(bytes);
    bool header = true;
    for (const Record& r : records(decoded)) {
        const std::string joined = [&] {
            std::string s;
            for (const auto& f : r.fields) s += f;
            return s;
        }();
        if (joined.find('\0') != std::string::npos) {
            p.problems.push_back({r.line, "NUL 文字があります（UTF-16 のファイルかもしれません）。"});
            header = false;
            continue;
        }
        if (!utf8 && joined.find(kReplacement) != std::string::npos) {
            p.problems.push_back({r.line, "cp932（シフトJIS）として読めない文字があります。"});
            header = false;
            continue;
        }
        if (header) {
            header = false;
            std::string line;
            for (std::size_t k = 0; k < r.fields.size(); ++k) line += (k ? "," : "") + r.fields[k];
            if (line != kLedgerHeader)
                p.problems.push_back({r.line, std::string("見出しの行が「") + kLedgerHeader + "」ではありません。"});
            continue;
        }
        if (isBlankRecord(r)) continue;
        Row row;
        const std::string reason = readRow(r, row);
        if (reason.empty()) p.rows.push_back(std::move(row));
        else p.problems.push_back({r.line, reason});
    }
    return p;
}

std::string ledgerBytes(const std::vector<Row>& rows) {
    std::string text = std::string(kLedgerHeader) + "\r\n";
    for (const Row& r : rows) {
        text += std::to_string(r.draw);
        for (int n : r.numbers) text += "," + std::to_string(n);
        text += "," + std::to_string(r.units) + "," + dateText(r.bought) + "," + dateText(r.received) + ",";
        if (needsQuotes(r.memo)) {
            text += '"';
            for (char c : r.memo) text += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += '"';
        } else {
            text += r.memo;
        }
        text += "\r\n";
    }
    return platform::encodeCp932(text);
}

std::string dateText(int ymd) {
    if (ymd == 0) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", ymd / 10000, ymd / 100 % 100, ymd % 100);
    return buf;
}

std::optional<int> parseDay(std::string_view s) {
    const auto d = history::parseDate(s);
    if (!d) return std::nullopt;
    return static_cast<int>(*d);
}

std::optional<int> parseExactDay(std::string_view s) {
    if (s.size() != 10 || s[4] != '/' || s[7] != '/') return std::nullopt;
    return parseDay(s);
}

void checkMemo(const std::string& memo) {
    if (std::all_of(memo.begin(), memo.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return;
    (void)platform::encodeCp932(memo);
}

std::string problemsMessage(const std::vector<RowProblem>& problems) {
    std::string out;
    constexpr std::size_t kShown = 5;
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i)
        out += std::string(kLedgerFileName) + " の " + std::to_string(problems[i].line) +
               " 行目: " + problems[i].reason + "\n";
    if (problems.size() > kShown) out += "ほかに " + std::to_string(problems.size() - kShown) + " 行あります。\n";
    out += "ファイルを直すまで、購入記録は読むだけになります。";
    return out;
}

void LedgerFile::read() {
    bool exists = false;
    std::string bytes = fileBytesOrEmpty(path_, &exists);
    Parsed p = exists ? parseLedger(bytes) : Parsed{};
    exists_ = exists;
    bytes_ = std::move(bytes);
    rows_ = std::move(p.rows);
    problems_ = std::move(p.problems);
}

bool LedgerFile::changedOnDisk() const {
    bool exists = false;
    std::string bytes;
    try {
        bytes = fileBytesOrEmpty(path_, &exists);
    } catch (const AppError&) {
        return true;
    }
    return exists != exists_ || bytes != bytes_;
}

void LedgerFile::write(const std::vector<Row>& rows) {
    if (readOnly()) throw AppError(kInvalidCall, problemsMessage(problems_));
    const std::string bytes = ledgerBytes(rows);
    if (changedOnDisk()) throw AppError(kPathFileAccess, kChangedMessage);
    platform::writeFileAtomic(path_, bytes);
    exists_ = true;
    bytes_ = bytes;
    rows_ = rows;
}

}  // namespace kazuban::ledger
