#pragma once
// Wheels kept as data: the smallest designs this program's own long runs
// have found (scripts/design-table.sh), one file per (m, P) under
// src/design/wheels/, built into the program. A stored design is used only
// when the proof counter finds it complete.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kazuban::design {

struct StoredText {
    int m, p;               // the numbers 1..m, a win when P of them are drawn
    std::string_view text;  // one ticket a line in the combination-file form
};
// Every stored file, in the order of (P, m).
const std::vector<StoredText>& storedTexts();

// The tickets of a stored text on the numbers 1..m (bit v for number v),
// when every line is five distinct numbers of 1..m, no ticket is repeated,
// and every P of the m numbers share three with some ticket; otherwise
// nothing.
std::optional<std::vector<std::uint32_t>> provedWheel(int m, int p, std::string_view text);

// The stored wheel on 1..m for P, proved; nothing when there is none or it
// fails its proof.
std::optional<std::vector<std::uint32_t>> storedWheel(int m, int p);

}  // namespace kazuban::design
