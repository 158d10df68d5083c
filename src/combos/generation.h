#pragma once
// Quick generation: random combinations by the ranking recipe. Number 1 is
// any number; number 2 comes from ranks 2..6 of the latest seven draws,
// number 3 from ranks 12..18 of the seven before, number 4 from ranks 22..29
// of the seven before those; number 5 is one of the six numbers of the draw
// before the latest. Every loop here is bounded: when the inputs cannot give
// a combination, generation refuses instead of spinning.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/draw_history.h"
#include "history/statistics.h"
#include "platform/platform.h"

namespace kazuban::combos {

// The rankings need three windows of seven draws.
inline constexpr int kMinDrawsForGeneration = 21;

// Why generation cannot run on this history and ranking (the message to
// show), or nullopt when it can.
std::optional<std::string> generationRefusal(const history::DrawHistory& h, int maxn,
                                             const history::RecentRanking& ranking);
// Shown when a batch could not be completed within its bound.
std::string generationFailedMessage();

// One combination: 14 characters, numbers ascending (" 4, 9,17,23,28").
// `drawBefore` is the text of draw maxn - 1. Reseeds the platform's random
// source from the clock first. nullopt when a bounded loop ran out.
std::optional<std::string> generateCombination(const history::RecentRanking& ranking, std::string_view drawBefore,
                                               platform::Platform& platform);

// A batch of n combinations, any two sharing at most two numbers, in
// ascending text order; nullopt when it could not be completed.
std::optional<std::vector<std::string>> generateBatch(const history::RecentRanking& ranking,
                                                      std::string_view drawBefore, int n, platform::Platform& platform);

// How many of c's five fields occur in `other` (substring search).
int sharedFields(std::string_view c, std::string_view other);

}  // namespace kazuban::combos
