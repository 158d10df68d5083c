#pragma once
// Runs the built kazuban-cli as a user would, and reads the expected files.
#include <string>

#include "support/history_gen.h"

namespace kazuban::testing {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs kazuban-cli with `args` (quoted as for a POSIX shell) from the folder
// `cwd` (empty: the current folder); standard output and error go through
// files in `scratch`.
CliRun runCli(const TempDir& scratch, const std::string& cwd, const std::string& args);
// Bytes of an expected output file in tests/data/golden/.
std::string golden(const std::string& name);

}  // namespace kazuban::testing
