#include "support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/line_file.h"

namespace kazuban::fuzz {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

const history::DrawHistory& demoHistory() {
    static const history::DrawHistory h =
        history::readWinningNumbers(std::string(KAZUBAN_DEMO_DIR) + "/atarimgrp.txt").history;
    return h;
}

const history::DrawHistory& smallHistory() {
    static const history::DrawHistory h = [] {
        auto lines = platform::readLines(std::string(KAZUBAN_DEMO_DIR) + "/atarimgrp.txt");
        lines.resize(201);
        return history::historyFromLines(lines).history;
    }();
    return h;
}

unsigned takeByte(std::string_view& data) {
    if (data.empty()) return 0;
    unsigned b = static_cast<unsigned char>(data.front());
    data.remove_prefix(1);
    return b;
}

}  // namespace kazuban::fuzz
