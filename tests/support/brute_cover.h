#pragma once
// The draws a set of tickets covers, counted the plainest way: every five of
// 1..31 against every ticket (bit v of a ticket for number v).
#include <cstdint>
#include <vector>

namespace kazuban::testing {

std::int64_t bruteCoveredDraws(const std::vector<std::uint32_t>& tickets);

}  // namespace kazuban::testing
