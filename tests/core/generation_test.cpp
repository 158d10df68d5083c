#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

#include "app/form1.h"
#include "combos/generation.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/text.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;

class Generation : public ::testing::Test {
protected:
    void start(int draws) {
        testing::prepareDataFolder(dir, draws, 17);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    bool holdsRank(int w, int lo, int hi, const std::vector<int>& nums) {
        for (int r = lo; r <= hi; ++r)
            if (std::count(nums.begin(), nums.end(), form.state().recentRanking.number[w][r])) return true;
        return false;
    }
    testing::TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

// Through the menu command, so the batch is checked against the draw before
// the latest that the command itself hands to the recipe.
TEST_F(Generation, EveryBatchKeepsEveryRule) {
    start(200);
    const auto& before = form.state().history.numbers[199];
    for (unsigned long long seed = 1; seed <= 300; ++seed) {
        p.seed(seed);
        p.answers = {platform::kYes};
        form.mnu10mk_Click();
        auto batch = std::make_optional<std::vector<std::string>>();
        for (int r = 1; r <= 10; ++r) batch->push_back(form.combinationTable().cell(r, 1));
        ASSERT_TRUE(form.combinationTable().cell(11, 1).empty()) << seed;
        EXPECT_TRUE(std::is_sorted(batch->begin(), batch->end()));
        for (std::size_t i = 0; i < batch->size(); ++i) {
            const std::string& c = (*batch)[i];
            std::vector<int> nums;
            std::string rebuilt;
            for (long k = 1; k <= 5; ++k) nums.push_back(static_cast<int>(text::Val(text::Mid(c, 3 * k - 2, 2))));
            for (int v : nums) rebuilt.append(rebuilt.empty() ? "" : ",").append(testing::numberField(v));
            ASSERT_EQ(c, rebuilt);  // 14 characters, " 5" never "05"
            EXPECT_TRUE(std::is_sorted(nums.begin(), nums.end()));
            EXPECT_EQ(std::set<int>(nums.begin(), nums.end()).size(), 5u) << c;
            EXPECT_TRUE(std::any_of(nums.begin(), nums.end(), [&](int v) {
                return std::count(before.begin(), before.end(), v) > 0;
            })) << c;
            EXPECT_TRUE(holdsRank(1, 2, 6, nums) && holdsRank(2, 12, 18, nums) && holdsRank(3, 22, 29, nums)) << c;
            for (std::size_t j = 0; j < i; ++j) EXPECT_LT(sharedFields(c, (*batch)[j]), 3) << c << " " << (*batch)[j];
        }
    }
}

TEST_F(Generation, CommandsFillRowsAndEvaluate) {
    start(100);
    p.seed(3);
    form.mnu5mk_Click();
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(form.combinationTable().cell(5, 1).size(), 14u);
    EXPECT_EQ(form.combinationTable().cell(6, 1), "");
    EXPECT_EQ(form.frame().Label1(), "第100回:" + form.state().history.entry(100));
    EXPECT_EQ(p.progressShows, 1);

    // Rows 1..998 filled, the answer No: two members land in rows 999 and 1000.
    for (int r = 1; r <= 998; ++r) form.combinationTable().setCell(r, 1, " 1, 2, 3, 4, 5");
    for (int c = 2; c <= 60; ++c) form.combinationTable().setCell(999, c, "1=4");  // entries of an old text
    p.answers = {platform::kNo};
    form.mnu10mk_Click();
    EXPECT_LT(form.combinationTable().cell(999, 1), form.combinationTable().cell(1000, 1));
    EXPECT_EQ(form.combinationTable().cell(1000, 1).size(), 14u);
    EXPECT_LT(form.combinationTable().storedCells(999), 60);
}

TEST_F(Generation, RefusesWhatCannotBeGenerated) {
    start(20);  // the rankings need 21 draws
    form.combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
    p.answers = {platform::kYes};
    form.mnu10mk_Click();
    ASSERT_EQ(p.messages.size(), 1u);  // refused before the question: nothing emptied
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(form.combinationTable().cell(1, 1), " 1, 2, 3, 4, 5");
    EXPECT_FALSE(form.wins().generateCombinations(5));
    EXPECT_EQ(form.combinationTable().cell(2, 1), "");

    // The draw before the latest in no field form the search can find.
    auto lines = testing::syntheticHistoryLines(30, 5);
    lines[29] = "第29回=01,02,03,04,05,06";
    dir.writeLines("atarimgrp.txt", lines);
    form.state().loadWinningNumbers();
    form.state().buildRecentRanking();
    EXPECT_NE(generationRefusal(form.state().history, form.state().maxn, form.state().recentRanking)
                  .value_or("")
                  .find("第29回"),
              std::string::npos);

    // Loops that could never end stop (every rank names 7), and the batch is
    // made before the question: a Yes does not empty the table for nothing.
    dir.writeLines("atarimgrp.txt", testing::syntheticHistoryLines(30, 5));
    form.state().loadWinningNumbers();
    for (auto& window : form.state().recentRanking.number) window.fill(7);
    p.messages.clear();
    p.answers = {platform::kYes};
    form.mnu10mk_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, generationFailedMessage());
    EXPECT_EQ(form.combinationTable().cell(1, 1), " 1, 2, 3, 4, 5");
}

}  // namespace
}  // namespace kazuban::combos
