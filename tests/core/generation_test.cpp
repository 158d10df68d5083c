#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/form1.h"
#include "combos/generation.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/text.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;
using testing::TempDir;

std::vector<int> numbersOf(const std::string& c) {
    std::vector<int> v;
    for (long k = 1; k <= 5; ++k) v.push_back(static_cast<int>(text::Val(text::Mid(c, 3 * k - 2, 2))));
    return v;
}

bool holdsRank(const history::RecentRanking& ranking, int w, int lo, int hi, const std::vector<int>& nums) {
    for (int r = lo; r <= hi; ++r)
        if (std::count(nums.begin(), nums.end(), ranking.number[w][r])) return true;
    return false;
}

class Generation : public ::testing::Test {
protected:
    void start(int draws) {
        testing::prepareDataFolder(dir, draws, 17);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

TEST_F(Generation, EveryBatchKeepsEveryRule) {
    start(200);
    const std::string before = form.history.entry(199);
    const auto& numbersBefore = form.history.numbers[199];
    for (unsigned long long seed = 1; seed <= 300; ++seed) {
        p.seed(seed);
        const int n = seed % 2 ? 10 : 5;
        const auto batch = generateBatch(form.recentRanking, before, n, p);
        ASSERT_TRUE(batch) << seed;
        ASSERT_EQ(batch->size(), static_cast<std::size_t>(n));
        EXPECT_TRUE(std::is_sorted(batch->begin(), batch->end()));
        for (std::size_t i = 0; i < batch->size(); ++i) {
            const std::string& c = (*batch)[i];
            ASSERT_EQ(c.size(), 14u) << c;
            const auto nums = numbersOf(c);
            EXPECT_TRUE(std::is_sorted(nums.begin(), nums.end())) << c;
            EXPECT_EQ(std::set<int>(nums.begin(), nums.end()).size(), 5u) << c;
            std::string rebuilt;
            for (int v : nums) rebuilt += (rebuilt.empty() ? "" : ",") + testing::numberField(v);
            EXPECT_EQ(c, rebuilt);   // " 5", never "05"
            EXPECT_TRUE(std::any_of(nums.begin(), nums.end(), [&](int v) {
                return std::count(numbersBefore.begin(), numbersBefore.end(), v) > 0;
            })) << c;
            EXPECT_TRUE(holdsRank(form.recentRanking, 1, 2, 6, nums)) << c;
            EXPECT_TRUE(holdsRank(form.recentRanking, 2, 12, 18, nums)) << c;
            EXPECT_TRUE(holdsRank(form.recentRanking, 3, 22, 29, nums)) << c;
            for (std::size_t j = 0; j < i; ++j) EXPECT_LT(sharedFields(c, (*batch)[j]), 3) << c << " " << (*batch)[j];
        }
    }
    // The same seed gives the same batch.
    p.seed(42);
    const auto a = generateBatch(form.recentRanking, before, 10, p);
    p.seed(42);
    EXPECT_EQ(a, generateBatch(form.recentRanking, before, 10, p));
}

TEST_F(Generation, CommandsFillRowsAndEvaluate) {
    start(100);
    p.seed(3);
    form.SSTab1 = app::kTabMarkSheet;
    form.mnu5mk_Click();
    EXPECT_TRUE(p.messages.empty());   // an empty table asks nothing
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(form.MSFlexGrid1.cell(r, 1).size(), 14u);
    EXPECT_EQ(form.MSFlexGrid1.cell(6, 1), "");
    EXPECT_EQ(form.SSTab1, app::kTabWins);
    EXPECT_EQ(form.Label3[0], "100");
    EXPECT_EQ(form.Label1, "第100回:" + form.history.entry(100));
    EXPECT_EQ(p.progressShows, 1);

    // Rows 1..998 filled, the answer No: two members land in rows 999 and 1000.
    for (int r = 1; r <= 998; ++r) form.MSFlexGrid1.setCell(r, 1, " 1, 2, 3, 4, 5");
    p.answers = {platform::kNo};
    form.mnu10mk_Click();
    EXPECT_EQ(form.MSFlexGrid1.cell(999, 1).size(), 14u);
    EXPECT_EQ(form.MSFlexGrid1.cell(1000, 1).size(), 14u);
    EXPECT_LT(form.MSFlexGrid1.cell(999, 1), form.MSFlexGrid1.cell(1000, 1));

    // A row taken over by a new combination loses the entries of its old text.
    for (int c = 2; c <= 60; ++c) form.MSFlexGrid1.setCell(1, c, "1=4");
    ASSERT_TRUE(form.generateCombinations(0, 5));
    const int stored = form.MSFlexGrid1.storedCells(1);
    EXPECT_LT(stored, 60);
    for (int c = 2; c < stored; ++c) EXPECT_NE(form.MSFlexGrid1.cell(1, c), "");
}

TEST_F(Generation, RefusesAShortHistoryBeforeAskingAnything) {
    start(20);
    form.MSFlexGrid1.setCell(1, 1, " 1, 2, 3, 4, 5");
    p.answers = {platform::kYes};
    form.mnu10mk_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_NE(p.messages[0].text.find("21"), std::string::npos);
    EXPECT_EQ(form.MSFlexGrid1.cell(1, 1), " 1, 2, 3, 4, 5");
    EXPECT_FALSE(form.generateCombinations(0, 5));
    EXPECT_EQ(form.MSFlexGrid1.cell(2, 1), "");
}

TEST_F(Generation, RefusesADrawBeforeTheLatestThatOffersNoNumber) {
    auto lines = testing::syntheticHistoryLines(30, 5);
    lines[29] = "第29回=01,02,03,04,05,06";   // valid, but in no field form the search can find
    dir.writeLines("Kazuban.ini", testing::environmentLines());
    dir.writeLines("atarimgrp.txt", lines);
    ASSERT_TRUE(form.Form_Load(dir.str()));
    p.messages.clear();
    EXPECT_FALSE(form.generateCombinations(0, 5));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].text.find("第29回"), std::string::npos);
    EXPECT_EQ(form.hasCombinationData(), 0);

    // An invalid draw there is refused the same way.
    lines[29] = "第29回=?";
    dir.writeLines("atarimgrp.txt", lines);
    form.loadWinningNumbers();
    EXPECT_TRUE(generationRefusal(form.history, form.maxn, form.recentRanking));
}

TEST(GenerationLoops, AnImpossibleRankingEndsInsteadOfSpinning) {
    history::RecentRanking ranking;
    for (int w = 1; w <= 3; ++w)
        for (int r = 1; r <= 31; ++r) ranking.number[w][r] = 7;   // every rank names 7
    FakePlatform p;
    p.seed(1);
    EXPECT_FALSE(generateCombination(ranking, " 1, 2, 3, 4, 5, 6", p));
    EXPECT_FALSE(generateBatch(ranking, " 1, 2, 3, 4, 5, 6", 10, p));
    // A ranking never built names no numbers at all.
    EXPECT_TRUE(generationRefusal(history::DrawHistory{}, 100, history::RecentRanking{}));
}

}  // namespace
}  // namespace kazuban::combos
