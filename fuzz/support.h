#pragma once
// Shared pieces of the fuzz targets.
#include <cstdint>
#include <string>
#include <string_view>

#include "history/draw_history.h"

namespace kazuban::fuzz {

// A check that must hold; aborts (a finding) when it does not.
void require(bool ok, const char* what);
// The demo history, read once.
const history::DrawHistory& demoHistory();
// Its first 200 draws: enough for every grade, quick enough to fuzz with.
const history::DrawHistory& smallHistory();
// Takes the first byte of the input as a number (0 when empty) and removes it.
unsigned takeByte(std::string_view& data);

}  // namespace kazuban::fuzz
