#pragma once
// Merging published results files into atarimgrp.txt and atarikin.csv, in
// two steps so that a window can show what would change before anything is
// written: planImport reads and checks everything and computes both files'
// new bytes; commitImport writes them, both or neither.
//
// The rules: every draw atarimgrp.txt already holds must agree (the same five
// main numbers and bonus), and so must a draw that two files name; new draws
// continue from the last one without a gap and stay within kMaxDraws; they
// are appended as the entry form appends one. A date, count or amount that
// atarikin.csv or another file already knows must agree; unknown ones are
// filled in.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "history/add_draw.h"
#include "history/payout_table.h"
#include "history/result_text.h"

namespace kazuban::history {

// One results file: its bytes, and the name that messages give it (a path as
// the user gave it, or the name of a file fetched from the bank).
struct ImportSource {
    std::string name;
    std::string bytes;
};
// Reads a file as a source named `name`. Throws as platform::readFileBytes.
ImportSource readImportSource(const std::filesystem::path& file, const std::string& name);

struct ImportPlan {
    std::filesystem::path historyFile, payoutFile;
    int files = 0;
    int drawsRead = 0;                    // distinct draws found in the files
    int agreed = 0;                       // of them, draws atarimgrp.txt holds with the same numbers
    int firstAdded = 0, lastAdded = 0;    // the draws to append; 0 when none
    std::vector<int> payoutDraws;         // draws whose atarikin.csv row is created or gains a field
    std::vector<ImportProblem> problems;  // every refusal found; when any, nothing may be written

    // The files as read, and their new bytes where they change.
    std::string historyBefore;
    std::optional<std::string> payoutBefore;  // nullopt: there was no atarikin.csv
    std::optional<std::string> historyAfter, payoutAfter;

    int added() const { return firstAdded == 0 ? 0 : lastAdded - firstAdded + 1; }
    bool refused() const { return !problems.empty(); }
    // Something would be written.
    bool changes() const { return historyAfter.has_value() || payoutAfter.has_value(); }
};

// Reads atarimgrp.txt (`historyFile`), atarikin.csv beside it and the
// sources, and checks them; writes nothing. Refusals of the data are in
// `problems`. Throws AppError when atarimgrp.txt cannot be read, has no line
// or holds more than kMaxDraws draws.
ImportPlan planImport(const std::filesystem::path& historyFile, const std::vector<ImportSource>& sources);

// The draw `draw` of the entry form with what the form was told of its date
// and payouts, merged as a results file's draw would be. Throws AppError
// (kPathFileAccess) when the history no longer ends right before `draw`.
ImportPlan planEntry(const std::filesystem::path& historyFile, int draw, const DrawNumbers& numbers,
                     const DrawPayout& payout);

// Writes what the plan computed: both files or, on any failure, neither.
// Throws AppError: kInvalidCall for a refused plan, kPathFileAccess when
// either file changed since it was planned, and the kinds of
// platform::writeFilesAtomic. A plan that changes nothing writes nothing.
void commitImport(const ImportPlan& plan);

// The command-line summary (LF line ends, a final LF).
std::string importSummary(const ImportPlan& plan);
// The refusals, one a line: at most ten, then how many more.
std::string problemsText(const std::vector<ImportProblem>& problems);
// What the window asks about before writing: the draws to add, the payouts
// to add, the draws that agreed; "新しい回はありません。" when nothing changes.
std::string importPreviewText(const ImportPlan& plan);

inline constexpr const char* kNothingNew = "新しい回はありません。";

}  // namespace kazuban::history
