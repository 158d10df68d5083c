#pragma once
// kounyu.csv beside atarimgrp.txt: the tickets the player bought. cp932,
// CR LF, the header kLedgerHeader, then one row per draw and combination in
// the order they were added: the draw, the five main numbers, the units, the
// purchase date and the date the prize was received (YYYY/MM/DD or empty),
// a memo. A memo with a comma, a double quote, a line break or a leading or
// trailing blank is quoted with inner quotes doubled.
//
// Reading never loses a row: a row that cannot be read is named by its line
// and reason, and the file is then read only until it is mended, so that it
// is never written without that row.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::ledger {

inline constexpr const char* kLedgerFileName = "kounyu.csv";
inline constexpr const char* kLedgerHeader = "回,数字1,数字2,数字3,数字4,数字5,口数,購入日,受取日,メモ";
inline constexpr int kMaxDraw = 32767;
inline constexpr int kMaxUnits = 10;
inline constexpr int kMaxDraws = 10;  // 継続: the draws one purchase covers

struct Row {
    int draw = 0;
    std::array<int, 5> numbers{};  // as the file holds them (ascending when the program wrote them)
    int units = 1;
    int bought = 0;    // YYYYMMDD; 0 when unknown
    int received = 0;  // YYYYMMDD; 0 when the prize was not received
    std::string memo;
    bool operator==(const Row&) const = default;
};

struct RowProblem {
    int line = 0;  // 1-based line of the file where the row starts
    std::string reason;
    bool operator==(const RowProblem&) const = default;
};

struct Parsed {
    std::vector<Row> rows;
    std::vector<RowProblem> problems;
};

// The rows of the file's bytes (cp932, or UTF-8 when valid UTF-8 or with a
// BOM). Blank lines are no rows. Never throws.
Parsed parseLedger(std::string_view bytes);
// The file's bytes. Throws AppError (kInvalidCall) when a memo holds a
// character that cp932 cannot hold.
std::string ledgerBytes(const std::vector<Row>& rows);

// "2018/10/01"; "" for 0.
std::string dateText(int ymd);
// A real day written YYYY/MM/DD (a spreadsheet's YYYY/M/D and YYYY-MM-DD
// are read too); nullopt otherwise.
std::optional<int> parseDay(std::string_view text);
// Only the exact YYYY/MM/DD form (the command line's dates).
std::optional<int> parseExactDay(std::string_view text);
// Throws AppError (kInvalidCall) when cp932 cannot hold the memo.
void checkMemo(const std::string& memo);

// "kounyu.csv の 3 行目: 口数が 1～10 ではありません。" for the first
// problems (at most five), and that the ledger is read only.
std::string problemsMessage(const std::vector<RowProblem>& problems);

// The file and what was read from it. write() puts new rows in its place
// atomically, unless the file changed on disk since it was read (or written).
class LedgerFile {
public:
    explicit LedgerFile(std::filesystem::path path = {}) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    // Reads the file; a missing file is an empty ledger. Throws AppError
    // when the file is there but cannot be read (the ledger stays as before).
    void read();
    bool exists() const { return exists_; }
    const std::vector<Row>& rows() const { return rows_; }
    const std::vector<RowProblem>& problems() const { return problems_; }
    bool readOnly() const { return !problems_.empty(); }
    // The file on disk is no longer what was read (or written) last.
    bool changedOnDisk() const;
    // Throws AppError and writes nothing when the ledger is read only, when
    // the file changed on disk (kPathFileAccess, kChangedMessage), when a
    // memo cannot be held by cp932, or when the write fails.
    void write(const std::vector<Row>& rows);

private:
    std::filesystem::path path_;
    bool exists_ = false;
    std::string bytes_;  // the file's bytes as read or written last
    std::vector<Row> rows_;
    std::vector<RowProblem> problems_;
};

inline constexpr const char* kChangedMessage =
    "kounyu.csv は読み込んだ後にほかのプログラムで変更されています。上書きしませんでした。"
    "読み直してから、もう一度操作してください。";

}  // namespace kazuban::ledger
