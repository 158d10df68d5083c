#pragma once
// Designs known in advance, as masks of points (bit i for point i).
#include <cstdint>
#include <vector>

namespace kazuban::design {

// The Steiner system S(3,5,17): 68 blocks of five of the points 0..16 such
// that every three points lie in exactly one block. It is the inversive plane
// of order 4: the points are GF(16) and infinity (point 16), the blocks the
// images of GF(4) and infinity under the maps z -> (az + b) / (cz + d).
// Ascending.
std::vector<std::uint32_t> steinerBlocks17();

// 43 sets of five of the points 0..13 that hold every three of them.
std::vector<std::uint32_t> tripleCover14();

}  // namespace kazuban::design
