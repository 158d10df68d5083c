#include <cstdio>

#include "commands.h"

namespace kazuban::cli {

int runCheck(const Context&, const std::string&) { std::fputs("not yet\n", stderr); return 2; }
int runSortCombos(const Context&, const std::string&) { std::fputs("not yet\n", stderr); return 2; }
int runGenerate(const Context&, int, std::optional<unsigned long long>) { std::fputs("not yet\n", stderr); return 2; }

}  // namespace kazuban::cli
