#include "support/cli_run.h"

#include <cstdlib>
#include <filesystem>

#include "platform/line_file.h"

#include "support/os.h"

namespace kazuban::testing {

CliRun runCli(const TempDir& scratch, const std::string& cwd, const std::string& args) {
    const std::string outFile = (scratch.path() / "stdout.txt").string();
    const std::string errFile = (scratch.path() / "stderr.txt").string();
    std::string cmd = "'" KAZUBAN_CLI_PATH "' " + args + " >'" + outFile + "' 2>'" + errFile + "'";
    if (!cwd.empty()) cmd = "cd '" + cwd + "' && " + cmd;
    const int raw = std::system(cmd.c_str());
    CliRun r;
    r.status = exitStatusOf(raw);
    r.out = scratch.read("stdout.txt");
    r.err = scratch.read("stderr.txt");
    return r;
}

std::string golden(const std::string& name) {
    return platform::readFileBytes(std::filesystem::path(KAZUBAN_TESTDATA_DIR) / "golden" / name);
}

}  // namespace kazuban::testing
