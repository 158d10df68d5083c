#pragma once
// The figure a design states, counted afresh: every set of p numbers drawn
// from `ground` is compared with every ticket. Deliberately plain and apart
// from the search, so that a fault there cannot hide itself.
#include <cstdint>
#include <vector>

namespace kazuban::design {

// How many p-subsets of `ground` (bit v for number v) share at least three
// numbers with at least one of the tickets.
std::int64_t countCovered(std::uint32_t ground, int p, const std::vector<std::uint32_t>& tickets);

}  // namespace kazuban::design
