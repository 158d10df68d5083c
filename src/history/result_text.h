#pragma once
// The pieces every results file is read with: the refusal that names the
// file and the line, the encodings, CSV fields, dates and amounts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/app_error.h"

namespace kazuban::history {

// Counts and amounts above this are refused (no draw pays more), so that the
// sums of a back-test over every draw stay far inside 64 bits.
inline constexpr std::int64_t kMaxAmount = 9'999'999'999;

// A refused line of a file that is read: which file, which line, why.
struct ImportProblem {
    std::string file;
    int line = 0;
    std::string reason;
};
// "<file> の <line> 行目： <reason>".
std::string problemText(const ImportProblem& p);

class ImportRefused : public AppError {
public:
    explicit ImportRefused(ImportProblem p) : AppError(kInvalidCall, problemText(p)), problem_(std::move(p)) {}
    const ImportProblem& problem() const { return problem_; }

private:
    ImportProblem problem_;
};

// The file's lines as UTF-8: UTF-8 with or without a BOM, else cp932; line
// ends CR LF, LF or CR. Refuses (naming the first line that is neither) a
// file that is neither valid UTF-8 nor cp932, and a UTF-16 or UTF-32 file
// (at its first line).
std::vector<std::string> resultFileLines(std::string_view bytes, const std::string& name);

// The fields of a CSV line: separated by commas, a field in double quotes may
// hold commas and "" for a quote; blanks around a field are dropped.
std::vector<std::string> csvFields(std::string_view line);
// Full-width digits made ASCII ("１等" -> "1等").
std::string asciiDigits(std::string_view s);

// A date "YYYY/M/D", "YYYY/MM/DD" or "YYYY-MM-DD" of the calendar as
// YYYYMMDD; nullopt when it is not one.
std::optional<std::int64_t> parseDate(std::string_view text);
// Plain decimal digits (leading zeros allowed) up to kMaxAmount; nullopt otherwise.
std::optional<std::int64_t> parseDigits(std::string_view text);

}  // namespace kazuban::history
