#include <cstdio>

#include "commands.h"

namespace kazuban::cli {

int runTotals(const Context&, const std::string&, std::optional<int>) { std::fputs("not yet\n", stderr); return 2; }
int runPredraw(const Context&, std::optional<std::string>) { std::fputs("not yet\n", stderr); return 2; }

}  // namespace kazuban::cli
