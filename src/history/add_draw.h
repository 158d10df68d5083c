#pragma once
// Entering a new draw: checking the six numbers as the user gives them, and
// appending the draw to atarimgrp.txt in the file's own form (its label, its
// encoding, its line ends), atomically.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kazuban::history {

using DrawNumbers = std::array<int, 6>;  // five main numbers, then the bonus

struct DrawCheck {
    std::optional<DrawNumbers> numbers;  // set when the numbers are a draw
    std::string problem;                 // else why not (Japanese)
    bool incomplete = false;             // only that some numbers are still missing
};

// Six number texts, main numbers first: each an integer 1..31 (ASCII or
// full-width digits, blanks around them ignored), all six distinct. The
// first problem found is reported: a text that is no number or out of range
// before an empty one, an empty one before a repeated number.
DrawCheck checkDrawFields(const std::vector<std::string>& fields);
// "N1,N2,N3,N4,N5,B": the same check, and exactly six numbers.
DrawCheck parseDrawArgument(const std::string& text);

// The history's field form, main numbers ascending: " 2, 9,13,22,30,17".
std::string drawFieldText(const DrawNumbers& numbers);

// The label of the draw after `lastNumber`, made from the label of that
// draw's line: its one number, when it equals lastNumber, counts on in the
// same digits and width ("第1400回" -> "第1401回", "No.0099" -> "No.0100").
// Any other label gives "第<n>回".
std::string nextDrawLabel(const std::string& lastLabel, int lastNumber);

struct AppendedDraw {
    int drawNumber = 0;
    std::string line;  // the line written, UTF-8, without its line end
};

// Why a draw cannot be appended to a file that changed since the draw was
// asked for: it now ends at draw `maxn`.
std::string historyChangedText(int maxn);

// Appends the draw after the file's last one: "<label>=<field text>" in the
// file's encoding (UTF-8 when the file is UTF-8, else cp932) and line ends,
// right after the last draw line (blank lines after it stay after it). A
// last line without a line end gets one first. `expectedDrawNumber` > 0
// refuses the append when the file no longer ends at the draw before it.
// Throws AppError and leaves the file as it was: kInvalidCall for numbers
// that are no draw, a file without lines or a file that is neither UTF-8 nor
// cp932 (UTF-16 among them: nothing is appended to it), kSubscript when the history is
// full (kMaxDraws), kPathFileAccess when the file changed, and the kinds of
// text::readFileBytes / writeFileAtomic.
AppendedDraw appendDraw(const std::filesystem::path& file, const DrawNumbers& numbers, int expectedDrawNumber = 0);

// The bytes of a history file with `draws` (each already a draw) appended
// one after another as appendDraw appends one, the labels counting on from
// the last one. Throws as appendDraw does before it writes.
struct AppendedDraws {
    std::string bytes;
    std::vector<AppendedDraw> draws;
};
AppendedDraws appendDrawsToBytes(const std::string& bytes, const std::vector<DrawNumbers>& draws,
                                 int expectedDrawNumber = 0);

}  // namespace kazuban::history
