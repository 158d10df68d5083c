#pragma once
// atarikin.csv beside atarimgrp.txt: the date, the winners and the prize of
// each grade of a draw, where known. cp932, CR LF, the header kPayoutHeader,
// one row per draw with anything known, ascending by draw; a date as
// YYYY/MM/DD, an unknown field empty, integers plain. The classic program
// never reads this file.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "history/result_text.h"

namespace kazuban::history {

inline constexpr const char* kPayoutFileName = "atarikin.csv";
inline constexpr const char* kPayoutHeader = "回,日付,1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金";

// What is known of one draw besides its numbers. Field 0 is the date as
// YYYYMMDD, fields 1-4 the winners of grades 1-4, fields 5-8 the prize of one
// winning ticket of grades 1-4 in yen.
inline constexpr int kPayoutFields = 9;
inline constexpr int kDateField = 0;
inline constexpr int kWinnersField = 1;
inline constexpr int kPrizeField = 5;
struct DrawPayout {
    std::array<std::optional<std::int64_t>, kPayoutFields> fields;

    bool anyKnown() const;
    // All four prizes known: the draw can take part in a back-test in yen.
    bool hasPrizes() const;
    std::int64_t prize(int grade) const { return fields[kPrizeField + grade - 1].value_or(0); }  // grade 1..4
    bool operator==(const DrawPayout&) const = default;
};

using PayoutTable = std::map<int, DrawPayout>;  // by draw number

// "日付", "1等口数", ... "4等賞金".
std::string payoutFieldName(int field);
// A field's text as the file holds it: "2024/06/11", "9483300".
std::string payoutFieldText(int field, std::int64_t value);

// A count (field 1-4) or an amount (5-8) as a results file writes it:
// digits, digit-grouping commas allowed ("1,234"), "口" after a count and "円"
// after an amount allowed, "該当なし" for 0; empty is unknown (nullopt).
// Refuses anything else naming `file` and `line`: a negative number, one
// that is not an integer, one above kMaxAmount.
std::optional<std::int64_t> parseAmount(std::string_view text, int field, const std::string& file, int line);

// The optional fields of the entry form: a date as parseDate reads it, and
// the winners and the prize of grades 1-4 as parseAmount reads them; blanks
// around a field are ignored, an empty field is unknown. `problem` says
// what is wrong with the first field that is wrong ("" when none is).
struct PayoutCheck {
    DrawPayout payout;
    std::string problem;
};
PayoutCheck checkPayoutFields(const std::string& date, const std::array<std::string, 4>& winners,
                              const std::array<std::string, 4>& prizes);

// The day draw `drawNumber` is likely held on, as the entry form suggests
// it: the latest date known for an earlier draw, a week later for each draw
// after that one (draws are weekly). nullopt when no earlier draw has a date.
std::optional<std::int64_t> suggestedDate(const PayoutTable& table, int drawNumber);

// The table of the file's bytes (cp932 or UTF-8). Throws ImportRefused
// naming `name` and the line for a line that is not a row of the table.
PayoutTable parsePayoutTable(std::string_view bytes, const std::string& name);
// The file's bytes: cp932, CR LF, rows with anything known.
std::string payoutTableBytes(const PayoutTable& table);
// parsePayoutTable of the file; an empty table when there is no file.
PayoutTable readPayoutTable(const std::filesystem::path& file);

}  // namespace kazuban::history
