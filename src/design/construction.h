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

// The Steiner system S(3,5,26): 260 blocks of five of the points 0..25,
// every three points in exactly one. It is derived twice from Denniston's
// S(5,7,28): the points are GF(27) and infinity, the blocks two orbits of
// seven-point sets under the maps z -> (a z^s + b) / (c z^s + d) with s a
// power of 3; the blocks through infinity and 0 without those two points
// are the blocks here (point e - 1 for each element e != 0 of GF(27)).
// Ascending.
std::vector<std::uint32_t> steinerBlocks26();

// 319 sets of five of the points 0..26 holding every three of them, the
// fewest possible (Schönheim): S(3,5,26) and point 26 added to each of 59
// sets of four of 0..25 that hold every two of them.
std::vector<std::uint32_t> tripleCover27();

// 260 sets of five of the points 0..24 holding every three of them:
// S(3,5,26) without point 25, its 50 blocks through 25 taking the lowest
// point they lack instead. Two blocks share at most two points, so no set
// comes twice.
std::vector<std::uint32_t> tripleCover25();

// 387 sets of five of the points 0..27 holding every three of them: the 319
// of 0..26, and point 27 added to 68 sets of four of 0..26 that hold every
// two of them (the 59 of 0..25 and nine that pair 26 with each of 0..25).
std::vector<std::uint32_t> tripleCover28();

}  // namespace kazuban::design
