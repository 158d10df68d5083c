#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>

#include "app/recent_files.h"

namespace kazuban::app {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> names(const RecentFiles& r) {
    std::vector<std::string> out;
    for (const fs::path& p : r.list()) out.push_back(p.filename().string());
    return out;
}

// Against a plain model of "newest first, once each, five at most": random
// loads, saves and vanished files, one spelling or another of each file.
TEST(RecentFiles, NewestFirstOnceEachFiveAtMost) {
    const fs::path base = fs::absolute("folder");
    std::mt19937 rng(7);
    RecentFiles recent;
    std::deque<std::string> model;
    for (int step = 0; step < 400; ++step) {
        const std::string name = "f" + std::to_string(rng() % 8) + ".txt";
        // The same file named through "./" or "sub/.." is one entry.
        const fs::path spelled = rng() % 2 ? base / name : base / "sub" / ".." / name;
        const unsigned before = recent.revision();
        if (rng() % 4 == 0) {
            const bool there = std::find(model.begin(), model.end(), name) != model.end();
            recent.remove(spelled);
            std::erase(model, name);
            EXPECT_EQ(recent.revision() != before, there);
        } else {
            recent.add(spelled);
            std::erase(model, name);
            model.push_front(name);
            if (model.size() > RecentFiles::kMax) model.pop_back();
            EXPECT_NE(recent.revision(), before);
        }
        ASSERT_EQ(names(recent), std::vector<std::string>(model.begin(), model.end())) << step;
    }
}

TEST(RecentFiles, TheKeptListDropsEmptyNamesRepeatsAndAllPastFive) {
    const fs::path base = fs::absolute("folder");
    RecentFiles recent;
    recent.set({base / "a.txt",
                {},
                base / "b.txt",
                base / "." / "a.txt",
                base / "c.txt",
                base / "d.txt",
                base / "e.txt",
                base / "f.txt"});
    EXPECT_EQ(names(recent), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}));
    recent.add({});
    EXPECT_EQ(recent.list().size(), 5u);
}

}  // namespace
}  // namespace kazuban::app
