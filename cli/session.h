#pragma once
// A started core for one CLI command: the same start-up as the window on
// ctx.dir (Kazuban.ini may be absent), with a HeadlessPlatform.
#include <memory>

#include "app/form1.h"
#include "commands.h"
#include "platform/headless_platform.h"

namespace kazuban::cli {

struct Session {
    platform::HeadlessPlatform platform;
    app::Form1 form{platform};
};

// On failure prints the message to standard error, stores the exit status in
// *exitCode (2 for a missing or unreadable file) and returns nullptr.
std::unique_ptr<Session> openSession(const Context& ctx, int* exitCode);

// Loads a combination file into the empty table as "呼出し" does, then
// recalculates. Returns 0, or 1 when validation refused a row (the message
// was printed), or 2 when the file is missing or unreadable.
int loadCombinationFile(Session& s, const std::string& file);

}  // namespace kazuban::cli
