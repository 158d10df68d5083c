#pragma once
// The numbers of the combination table's rows, as the analyses count them: a
// row's numbers are the values of its five two-character fields (characters
// 1-2, 4-5, 7-8, 10-11, 13-14), so " 3" and "03" both mean 3. Every non-empty
// row counts, a duplicated row as often as it stands.
#include <cstdint>
#include <string>
#include <vector>

namespace kazuban::analysis {

// Bit v set for each number v (1..31) of a combination.
using ComboMask = std::uint32_t;

// How a snapshot of the table ended.
enum class SnapshotStatus {
    Ok,
    InvalidRow,     // a row fails the input rules of the table (the classic input-error message)
    RepeatedValue,  // a row passes them but names one number twice ("03, 3,14,22,30")
};

struct Snapshot {
    SnapshotStatus status = SnapshotStatus::Ok;
    int row = 0;                    // data number of the refused row
    std::vector<ComboMask> combos;  // one per non-empty row, in row order (empty unless Ok)
};

// texts[i] is the combination text of data number i + 1 (at most 1000 are
// read). A row that breaks the input rules is reported first (the first such
// row), then the first row that names a number twice.
Snapshot takeSnapshot(const std::vector<std::string>& texts);

// The mask of one valid combination text, or 0 when its five values are not
// five distinct numbers 1..31.
ComboMask comboMaskOf(const std::string& text);

// " データ番号 12 に、同じ数字が２回あります。"
std::string repeatedValueMessage(int row);
// The message for a refused snapshot (the classic one for an invalid row).
std::string snapshotMessage(const Snapshot& s);

}  // namespace kazuban::analysis
