// The environment file under both reading rules, and the writer's lines read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/env_file.h"
#include "platform/line_file.h"
#include "support.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto lines = text::splitLines(platform::decodeFileBytes(bytes));
    auto startUp = config::environmentFromLines(lines, config::ReadRule::StartUp);
    auto settings = config::environmentFromLines(lines, config::ReadRule::Settings);
    fuzz::require(startUp.linesRead <= config::kEnvironmentSlots, "at most 21 slots");
    fuzz::require(startUp.linesRead + startUp.linesIgnored == static_cast<int>(lines.size()),
                  "every line read or ignored");
    for (int k = 0; k < 5; ++k) fuzz::require(startUp.slots[k] == settings.slots[k], "first five lines cut alike");

    // What the writers write from these values reads back to the same values
    // (a path or link holding a line break cannot survive a line file; skip those).
    const auto links = startUp.links();
    bool lineBreak = false;
    for (const auto& s : startUp.slots) lineBreak |= s.find_first_of("\r\n") != std::string::npos;
    if (!lineBreak) {
        auto written = config::environmentFileLines(startUp.editor(), startUp.dataFolder(), startUp.calcSoft(),
                                                    startUp.browser(), links);
        auto back = config::environmentFromLines(written, config::ReadRule::StartUp);
        fuzz::require(back.editor() == startUp.editor() && back.browser() == startUp.browser(),
                      "paths survive a write");
        for (int i = 0; i < config::kLinkCount; ++i) fuzz::require(back.link(i) == links[i], "links survive a write");
    }
    return 0;
}
