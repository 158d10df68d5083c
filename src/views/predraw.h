#pragma once
// The pre-draw analysis of tab 4: every draw from the 51st on scored as a
// combination held just before it.
namespace kazuban::views {

// What the analysis keeps between its steps (never a dense N x N/10 grid).
struct PredrawState {
};

}  // namespace kazuban::views
